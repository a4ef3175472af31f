#!/usr/bin/env bash
# Runs the render benchmark under a virtual X server from the repository root
# and prints, for 1 and 45 figures at 1280x720 and each kind of video: the
# interactive frame, one output frame of a render with and without encoding
# (and output frames per second), the wall time encoding adds to an output
# frame and the encoder's CPU time per frame, both also as a share of the
# interactive frame of the same scene in the same run; and how many cores
# the render keeps busy without encoding (what is left for the encoder).
#
# The machine's load drifts while it runs: every case is run REPS times
# (default 7) for half a second, in a random order among the others, and
# the medians are used.
#   [REPS=n] bench/run_render_bench.sh [build dir]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
cd "$root"
out=$(SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1600x900x24 -nolisten tcp" \
  "$build/bench_render" --benchmark_format=csv --benchmark_repetitions="${REPS:-7}" \
  --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true \
  2>/dev/null | grep -E '^"?BM_[^,]*_median')
echo "$out" | awk -F, '
  function arg(name, key) {
    if (!match(name, key ":[0-9]+")) return -1
    return substr(name, RSTART + length(key) + 1, RLENGTH - length(key) - 1) + 0
  }
  BEGIN { kinds[1] = "mp4"; kinds[2] = "webm"; kinds[3] = "gif" }
  {
    gsub(/"/, "", $1); p = arg($1, "persons"); k = arg($1, "kind")
    if ($1 ~ /Interactive/) inter[p] = $3
    else if ($1 ~ /RenderFrame/) { render[k, p] = $3; busy[k, p] = $4 / $3 }
    # The encoders run threads of their own: their cost is process CPU time.
    else if ($1 ~ /Encode/) cpu[k, p] = $4
  }
  END {
    printf "%7s %-5s %11s %9s %11s %6s %9s %7s %9s %7s\n", "persons", "kind", "interactive",
      "render", "no encoder", "fps", "added", "share", "enc cpu", "share"
    for (p = 1; p <= 45; p += 44)
      for (k = 1; k <= 3; k++) {
        if (!((k, p) in render)) continue
        added = render[k, p] - render[0, p]
        printf "%7d %-5s %11.2f %9.2f %11.2f %6.1f %9.2f %7.3f %9.2f %7.3f\n", p, kinds[k], inter[p],
          render[k, p], render[0, p], 1000 / render[k, p], added, added / inter[p], cpu[k, p],
          cpu[k, p] / inter[p]
      }
    print "(ms per frame; added = render - no encoder; share = x the interactive frame)"
    printf "cores kept busy by the render without encoding: %.2f (1 figure), %.2f (45)\n",
      busy[0, 1], busy[0, 45]
  }'
