#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time
# over its seed corpus (fuzz/corpus/<target name without "fuzz_">, or its
# first word).
#   scripts/run-fuzzers.sh [SECONDS_EACH]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
# A crash report names functions only with a symbolizer at hand.
if [ -z "${ASAN_SYMBOLIZER_PATH:-}" ]; then
  ASAN_SYMBOLIZER_PATH=$(command -v llvm-symbolizer || command -v llvm-symbolizer-14 || true)
  [ -n "$ASAN_SYMBOLIZER_PATH" ] && export ASAN_SYMBOLIZER_PATH
fi
ls fuzz/fuzz_*.cpp >/dev/null 2>&1 || { echo "no fuzz targets"; exit 0; }

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPUPPETORIUM_FUZZ=ON -DPUPPETORIUM_UNIT_ONLY=ON >/dev/null
for src in fuzz/fuzz_*.cpp; do
  name=$(basename "$src" .cpp)
  cmake --build build-fuzz -j"$(nproc)" --target "$name"
  corpus="fuzz/corpus/${name#fuzz_}"
  [ -d "$corpus" ] || corpus="fuzz/corpus/$(echo "${name#fuzz_}" | cut -d_ -f1)"
  work="build-fuzz/corpus-${name#fuzz_}"
  rm -rf "$work"; mkdir -p "$work"
  [ -d "$corpus" ] && cp -r "$corpus/." "$work/"
  echo "== $name for ${seconds}s"
  log="build-fuzz/$name.log"
  if ! "build-fuzz/$name" -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="build-fuzz/$name-" "$work" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "FAIL: $name found a failing input (saved under build-fuzz/)"
    exit 1
  fi
  grep -E 'stat::number_of_executed_units' "$log" || true
done
