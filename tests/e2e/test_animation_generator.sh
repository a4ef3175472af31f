#!/usr/bin/env bash
# The shipped animation files are exactly what their generator makes, and
# the generator's frame-by-frame checks of the choreography pass.
set -euo pipefail
: "${PUPPETORIUM_ROOT:?}"
: "${PUPPETORIUM_BUILD:=$PUPPETORIUM_ROOT/build}"
out="$PUPPETORIUM_BUILD/e2e-artifacts/animation_generator"
rm -rf "$out"; mkdir -p "$out"
python3 "$PUPPETORIUM_ROOT/tools/make_animations.py" --out "$out" >"$out/generator.log"
for f in superman.txt 1_boy.txt 1_girl.txt 2_swordfight1.txt 2_swordfight2.txt lawnmower.txt; do
  cmp "$out/$f" "$PUPPETORIUM_ROOT/animations/$f" || { echo "FAIL: animations/$f differs from the generator's output"; exit 1; }
done
echo "PASS: animation_generator"
