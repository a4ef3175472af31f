#!/usr/bin/env bash
# Runs the render benchmark under a virtual X server from the repository root
# and prints, for 1 and 45 figures at 1280x720: the interactive frame, one
# output frame of a render to .mp4 (and output frames per second), and the
# encoders' cost per frame as a share of the interactive frame.
#   bench/run_render_bench.sh [build dir]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
cd "$root"
out=$(SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1600x900x24 -nolisten tcp" \
  "$build/bench_render" --benchmark_format=csv 2>/dev/null | grep -E '^"?BM_')
echo "$out" | awk -F, '
  function persons(name) { match(name, /persons:[0-9]+/); return substr(name, RSTART + 8, RLENGTH - 8) + 0 }
  { gsub(/"/, "", $1); n[NR] = $1; real[NR] = $3; cpu[NR] = $4 }
  END {
    for (i = 1; i <= NR; i++) if (n[i] ~ /Interactive/) inter[persons(n[i])] = real[i]
    printf "%-16s %7s %-5s %9s %10s %13s\n", "benchmark", "persons", "kind", "ms/frame", "output fps", "x interactive"
    for (i = 1; i <= NR; i++) {
      p = persons(n[i]); split(n[i], a, "/"); kind = "-"
      if (n[i] ~ /Render/) kind = "mp4"
      if (n[i] ~ /kind:1/) kind = "mp4"; if (n[i] ~ /kind:2/) kind = "webm"; if (n[i] ~ /kind:3/) kind = "gif"
      # The encoders run threads of their own: their cost is process CPU time.
      ms = (n[i] ~ /Encode/) ? cpu[i] : real[i]
      fps = (n[i] ~ /Render/) ? sprintf("%.1f", 1000 / ms) : "-"
      printf "%-16s %7d %-5s %9.2f %10s %13.3f\n", substr(a[1], 4), p, kind, ms, fps, ms / inter[p]
    }
  }'
