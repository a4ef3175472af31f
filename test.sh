#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through one ctest
# run (unit, GL and end-to-end tiers). Then, as CI does, the unit tier once
# more under AddressSanitizer and UndefinedBehaviorSanitizer, and short
# libFuzzer runs over the readers of outside files.
#   SKIP_EXTRA=1 ./test.sh   only the ctest run
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j2)

[ "${SKIP_EXTRA:-0}" = 1 ] && exit 0

echo "== Unit tier under AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DPUPPETORIUM_SANITIZE=ON -DPUPPETORIUM_UNIT_ONLY=ON >/dev/null
cmake --build build-asan -j"$jobs" --target unit_tests
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ./unit_tests --gtest_brief=1)

bash scripts/run-fuzzers.sh 20
