#!/usr/bin/env bash
# Runs the frame benchmark under a virtual X server from the repository root:
# for 1, 10 and 45 dancing figures, trails off and on, the figures drawn by
# the reference path and by the fast path, in the same run:
#   - wall milliseconds per frame (Google Benchmark; noisy on a shared
#     machine), with the empty frame (clear and swap) beside them;
#   - instructions per frame counted by callgrind with the rasteriser on the
#     calling thread (LP_NUM_THREADS=0), so every thread's work is counted
#     and the figure is the same from run to run.
#   bench/run_frame_bench.sh [build dir]
# CG_FRAMES (default 2) frames are counted per case; CG_JOBS (default 2)
# callgrind runs go at once. The music is off in both.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
frames="${CG_FRAMES:-2}"
jobs="${CG_JOBS:-2}"
cd "$root"
work=$(mktemp -d)
# One virtual X server for every run, on a display number it picks itself.
exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$work/display")"
export SDL_AUDIODRIVER=dummy

# ---- wall time
"$build/bench_frame" --benchmark_format=csv 2>"$work/wall.err" | grep -E '^"?BM_' > "$work/wall.csv" ||
  { cat "$work/wall.err" >&2; exit 1; }

# ---- instructions
cases=()
for p in 1 10 45; do for t in 0 1; do for path in reference fast; do cases+=("$p $t $path"); done; done; done
count() {
  set -- $1
  local out="$work/cg.$1.$2.$3"
  LP_NUM_THREADS=0 valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$out.%p" \
    "$build/bench_frame" --count "$1" "$2" "$3" "$frames" > "$out.log" 2>&1
  # Every process's count (the program's own; helpers count 0).
  echo "$1 $2 $3 $(grep -h 'Collected' "$out.log" | awk -v f="$frames" '{s += $NF} END {printf "%.0f", s / f}')"
}
export -f count
export work frames build
printf '%s\n' "${cases[@]}" | xargs -P "$jobs" -I{} bash -c 'count "{}"' > "$work/instr.txt"

# ---- table
awk -v F="$frames" '
  FNR == NR { instr[$1 " " $2 " " $3] = $4; next }
  {
    split($0, f, ","); $1 = f[1]; $3 = f[3]
    gsub(/"/, "", $1)
    if ($1 ~ /Empty/) { empty = $3; next }
    # BM_Frame/persons:P/trails:T/reference:R
    split($1, a, "/"); split(a[2], p, ":"); split(a[3], t, ":"); split(a[4], r, ":")
    key = p[2] " " t[2]
    if (r[2] == 1) wallRef[key] = $3; else wallFast[key] = $3
    if (!(key in seen)) { seen[key] = 1; order[++n] = key }
  }
  END {
    printf "| figures | trails | reference ms | fast ms | ms ratio | reference M instr | fast M instr | instr ratio |\n"
    printf "|---:|:---:|---:|---:|---:|---:|---:|---:|\n"
    for (i = 1; i <= n; i++) {
      k = order[i]; split(k, q, " ")
      ir = instr[k " reference"]; ifa = instr[k " fast"]
      printf "| %d | %s | %.1f | %.1f | %.2f | %.0f | %.0f | %.2f |\n", q[1], q[2] ? "on" : "off",
        wallRef[k], wallFast[k], wallRef[k] / wallFast[k], ir / 1e6, ifa / 1e6, ir / ifa
    }
    printf "\nempty frame (clear and swap): %.2f ms; instructions counted over %d frames per case\n", empty, F
  }' "$work/instr.txt" "$work/wall.csv"
