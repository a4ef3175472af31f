#!/usr/bin/env bash
# Builds the soak program with AddressSanitizer and UBSan and runs it under
# a virtual X server from the repository root.
#   bench/run_soak.sh [FRAMES]     (default 20000; takes a while)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
cmake -S . -B build-soak -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPUPPETORIUM_SANITIZE=ON >/dev/null
cmake --build build-soak -j"$(nproc)" --target soak
# Leaks are judged by the resident-memory figures; the GL driver keeps
# allocations to process exit, which the leak checker would list.
SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  xvfb-run -a -s "-screen 0 640x480x24 -nolisten tcp" build-soak/soak "${1:-20000}" \
  2>&1 | grep --line-buffered -v -E "^(>> Loaded texture|  partLabel=|  Robot position set|EOF found)"
