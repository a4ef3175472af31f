#!/usr/bin/env bash
# Runs the frame benchmark under a virtual X server from the repository root
# and prints milliseconds per frame and the ratios to the empty frame.
#   bench/run_frame_bench.sh [build dir]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
cd "$root"
out=$(SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
  "$build/bench_frame" --benchmark_format=csv 2>/dev/null | grep -E '^"?BM_')
echo "$out" | awk -F, '
  { gsub(/"/, "", $1); name[NR] = $1; ms[NR] = $3 }
  END {
    for (i = 1; i <= NR; i++) if (name[i] ~ /Empty/) e = ms[i]
    printf "%-36s %10s %10s\n", "frame", "ms/frame", "x empty"
    for (i = 1; i <= NR; i++) printf "%-36s %10.3f %10.1f\n", name[i], ms[i], ms[i] / e
  }'
