#!/usr/bin/env bash
# Makes one keyframe of a walking stride by hand in the running program, as
# a person would, and measures it: the inputs it takes and how far the feet
# move. In the side view (Ctrl+3): Ctrl+drag the pelvis down a little, the
# near (left) foot forward along the floor, the far foot back, the near hand
# back, the far hand forward, F7; then Ctrl+C, Ctrl+Shift+V, F7 for the next
# stride. Extra F7s record the standing pose and the pose after the body
# drag, to measure against. Prints the joints of every keyframe and the
# planted feet's drift.
#   bench/run_stride.sh [build dir]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export PUPPETORIUM_ROOT="$root" PUPPETORIUM_BUILD="${1:-$root/build}"
export PUPPETORIUM_BIN="$PUPPETORIUM_BUILD/puppetorium"
source "$root/tests/e2e/lib.sh"
e2e_init stride
DATA=$(data_copy)
start_app "$DATA"
wait_first_frame >/dev/null
wait_intro_over
key F4 slash                           # animation and light still
key F7                                 # (the standing pose, to measure against)
key ctrl+3
sleep 0.5
# Pixels of the 700 x 500 side view of the standing figure.
ctrl_drag() { focus; xdotool keydown ctrl; drag 1 "$@" 10; xdotool keyup ctrl; sleep 0.3; }
ctrl_drag 378 245 378 265; shot s1     # body down a little: the knees give
key F7                                 # (the pose after the body drag, to measure the feet)
ctrl_drag 345 420 295 420; shot s2     # near foot forward along the floor
ctrl_drag 345 420 400 420; shot s3     # far foot back
ctrl_drag 343 305 393 300; shot s4     # near hand back
ctrl_drag 326 280 280 270; shot s5     # far hand forward
key F7
key ctrl+c ctrl+shift+v F7            # the next stride, mirrored
sleep 0.5; shot s6
key F6
choose_file "Save Animation" "$ART/stride"
wait_for_log "Animation has been saved"
echo "inputs: stride 7 (Ctrl+3, 5 drags, F7), next stride 3 (Ctrl+C, Ctrl+Shift+V, F7)"
python3 "$root/tests/e2e/tools/pose_check.py" "$ART/stride.txt"
python3 - "$root/tests/e2e/tools" "$ART/stride.txt" <<'PY'
import sys
sys.path.insert(0, sys.argv[1])
import pose_check as pc
f = pc.read(sys.argv[2])
for foot in ("RF", "LF"):
    print("%s moved %.2g while the body was dragged" % (foot, pc.dist(pc.joint(f[0], foot), pc.joint(f[1], foot))))
PY
