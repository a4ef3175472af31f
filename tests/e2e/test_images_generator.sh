#!/usr/bin/env bash
# The committed bitmaps are what tools/make_images.py draws: regenerating
# them gives the same files (within one step per byte, for maths libraries
# that round differently), so a change to the generator cannot land without
# its pictures, nor a hand-edited picture without its generator.
set -euo pipefail
: "${PUPPETORIUM_ROOT:?PUPPETORIUM_ROOT must point at the repository root}"
: "${PUPPETORIUM_BUILD:=$PUPPETORIUM_ROOT/build}"
OUT="$PUPPETORIUM_BUILD/e2e-artifacts/images_generator"
rm -rf "$OUT"; mkdir -p "$OUT"

python3 "$PUPPETORIUM_ROOT/tools/make_images.py" "$OUT" >/dev/null

python3 - "$PUPPETORIUM_ROOT/images" "$OUT" <<'PY'
import os, sys
committed, fresh = sys.argv[1], sys.argv[2]
names = sorted(os.listdir(fresh))
bad = []
if len(names) != 21:
    bad.append("generator wrote %d files, not 21" % len(names))
extra = sorted(set(n for n in os.listdir(committed) if n.endswith(".bmp")) - set(names))
if extra:
    bad.append("committed but not generated: %s" % ", ".join(extra))
for n in names:
    path = os.path.join(committed, n)
    if not os.path.exists(path):
        bad.append("%s: not committed" % n)
        continue
    a = open(path, "rb").read()
    b = open(os.path.join(fresh, n), "rb").read()
    if len(a) != len(b) or a[:54] != b[:54]:
        bad.append("%s: header or size differs" % n)
        continue
    worst = max((abs(x - y) for x, y in zip(a[54:], b[54:])), default=0)
    if worst > 1:
        bad.append("%s: pixels differ by up to %d" % (n, worst))
for line in bad:
    print("FAIL:", line)
sys.exit(1 if bad else 0)
PY
echo "PASS: images_generator"
