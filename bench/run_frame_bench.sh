#!/usr/bin/env bash
# Runs the frame benchmark under a virtual X server from the repository root:
# for 1, 10 and 45 dancing figures, trails off and on, the figures drawn by
# the reference path and by the fast path, in the same run:
#   - wall milliseconds per frame, mean and worst (Google Benchmark; noisy
#     on a shared machine), with the empty frame (clear and swap) beside them;
#   - instructions per frame, mean and worst, over one whole cycle of the
#     dance, counted by callgrind with the rasteriser on the calling thread
#     (LP_NUM_THREADS=0), so every thread's work is counted and the figure
#     is the same from run to run.
#   [SIZE=WxH] [CG_STRIDE=k] [CG_JOBS=n] [CASES="P T path ..."] bench/run_frame_bench.sh [build dir]
# SIZE is the window (default 700x500; 1280x720 and 1920x1080 are the other
# rows of docs/performance.md). CG_STRIDE counts every k-th frame of the
# cycle (default 1, every frame); CG_JOBS (default 2) callgrind runs go at
# once; CASES picks cases as "persons trails path" triples (default all 12);
# NO_WALL=1 skips the timed runs. The music is off in both.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
size="${SIZE:-700x500}"
stride="${CG_STRIDE:-1}"
jobs="${CG_JOBS:-2}"
cd "$root"
work=$(mktemp -d)
# One virtual X server for every run, on a display number it picks itself,
# large enough for the largest window.
exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$work/display")"
export SDL_AUDIODRIVER=dummy

# ---- wall time
if [ "${NO_WALL:-0}" = 1 ]; then
  : > "$work/wall.csv"
else
  "$build/bench_frame" --size "$size" --benchmark_format=csv 2>"$work/wall.err" | grep -E '^"?BM_' > "$work/wall.csv" ||
    { cat "$work/wall.err" >&2; exit 1; }
fi

# ---- instructions: one dump per counted frame
cases=()
if [ -n "${CASES:-}" ]; then
  read -r -a words <<< "$CASES"
  for ((i = 0; i < ${#words[@]}; i += 3)); do cases+=("${words[i]} ${words[i+1]} ${words[i+2]}"); done
else
  for p in 1 10 45; do for t in 0 1; do for path in reference fast; do cases+=("$p $t $path"); done; done; done
fi
count() {
  set -- $1
  local out="$work/cg.$1.$2.$3"
  LP_NUM_THREADS=0 valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$out.%p" \
    "$build/bench_frame" --size "$size" --count "$1" "$2" "$3" "$stride" > "$out.log" 2>&1
  # The numbered dumps are the counted frames (the final dump at exit is
  # empty and unnumbered).
  echo "$1 $2 $3 $(cat "$out".*.[0-9]* | awk '/^summary:/ {n++; s += $2; if ($2 > w) w = $2}
    END {printf "%.0f %.0f %d", s / n, w, n}')"
}
export -f count
export work stride build size
printf '%s\n' "${cases[@]}" | xargs -P "$jobs" -I{} bash -c 'count "{}"' > "$work/instr.txt"

# ---- table
awk -v S="$stride" -v SIZE="$size" '
  FNR == NR { key = $1 " " $2; mean[key " " $3] = $4; worst[key " " $3] = $5; frames = $6
              if (!(key in seen)) { seen[key] = 1; order[++n] = key }; next }
  {
    split($0, f, ",")
    name = f[1]; gsub(/"/, "", name)
    if (name ~ /Empty/) { empty = f[3]; next }
    # BM_Frame/persons:P/trails:T/reference:R, with the counters at the end
    split(name, a, "/"); split(a[2], p, ":"); split(a[3], t, ":"); split(a[4], r, ":")
    key = p[2] " " t[2]
    w = f[length(f) - 1]
    if (r[2] == 1) { wallRef[key] = f[3]; worstRef[key] = w } else { wallFast[key] = f[3]; worstFast[key] = w }
  }
  END {
    printf "window %s\n\n", SIZE
    printf "| figures | trails | reference ms mean / worst | fast ms mean / worst | reference M instr mean / worst | fast M instr mean / worst |\n"
    printf "|---:|:---:|---:|---:|---:|---:|\n"
    for (i = 1; i <= n; i++) {
      k = order[i]; split(k, q, " ")
      printf "| %d | %s | %s | %s | %s | %s |\n", q[1], q[2] ? "on" : "off",
        (k in wallRef) ? sprintf("%.1f / %.1f", wallRef[k], worstRef[k]) : "-",
        (k in wallFast) ? sprintf("%.1f / %.1f", wallFast[k], worstFast[k]) : "-",
        mean[k " reference"] ? sprintf("%.0f / %.0f", mean[k " reference"] / 1e6, worst[k " reference"] / 1e6) : "-",
        mean[k " fast"] ? sprintf("%.0f / %.0f", mean[k " fast"] / 1e6, worst[k " fast"] / 1e6) : "-"
    }
    if (empty != "") printf "\nempty frame (clear and swap): %.2f ms", empty
    printf "\ninstructions: %d frames counted per case, every %d of one dance cycle\n", frames, S
  }' "$work/instr.txt" "$work/wall.csv"
