#!/usr/bin/env bash
# Builds the soak program and runs it under a virtual X server from the
# repository root.
#   bench/run_soak.sh [--plain] [FRAMES]     (default 20000; takes a while)
# By default the build has AddressSanitizer and UBSan, to catch memory errors
# over the long run; their red zones and quarantine blur the memory figures,
# so that build leaves the verdict to the sanitizers. --plain builds without
# them, as the program ships, and judges memory growth.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
config=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DPUPPETORIUM_SANITIZE=ON)
dir=build-soak
if [ "${1:-}" = "--plain" ]; then
  config=(-DCMAKE_BUILD_TYPE=Release -DPUPPETORIUM_SANITIZE=OFF)  # as the program ships
  dir=build-soak-plain
  shift
fi
cmake -S . -B "$dir" "${config[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)" --target soak
# Leaks are judged by the held-memory figures; the GL driver keeps
# allocations to process exit, which the leak checker would list.
# Mesa's software rasteriser, run in worker threads, holds a varying load of
# frames in flight (about 200 MB more heap here, swinging by 100 MB from
# frame to frame), and its high-water mark steps up whenever the workers fall
# behind on a loaded machine. Rasterising on the calling thread keeps the
# driver's share small and steady, so the figures show the program's own
# memory. LP_NUM_THREADS=n overrides.
LP_NUM_THREADS="${LP_NUM_THREADS:-0}" SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  xvfb-run -a -s "-screen 0 640x480x24 -nolisten tcp" "$dir/soak" "${1:-20000}" \
  2>&1 | grep --line-buffered -v -E "^(>> Loaded texture|  partLabel=|  Robot position set|EOF found)"
