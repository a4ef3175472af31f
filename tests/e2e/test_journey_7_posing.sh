#!/usr/bin/env bash
# A person poses by hand in the start scene, with animation off and F7
# after each step: standing; Ctrl+drag the right hand out and up and Ctrl+Z
# (the standing pose again); the same drag again; Ctrl+drag the stomach down
# into a crouch and Ctrl+Z (the raised hand again); the same drag again;
# Ctrl+C and Ctrl+Shift+V to mirror it; Ctrl+E to type exact values. F6
# saves it. A second figure gets the copied pose with Ctrl+V
# (F7, F6). tools/pose_check.py reads both files back and checks them by
# forward kinematics. Then the top, front and side views, and Ctrl+5 back to
# the camera as it was.
source "$(dirname "$0")/lib.sh"
e2e_init journey_7_posing

DATA=$(data_copy)
OUT="$ART/saved"; mkdir -p "$OUT"
CHECK="$(dirname "$0")/tools/pose_check.py"
# Where the standing figure's parts show in the 700 x 500 start view.
HAND="318 262"
STOMACH="350 215"

start_app "$DATA"
wait_first_frame >/dev/null
wait_intro_over
key F4 slash                                    # animation off, play rate 0: only posing moves

# settled NAME: a screenshot once the last message has faded.
settled() { sleep 3.2; snap "$1"; }
# ctrl_drag X0 Y0 X1 Y1: a left drag with Ctrl held.
ctrl_drag() {
  focus
  xdotool keydown ctrl
  drag 1 "$@" 12
  xdotool keyup ctrl
}

# ---------------------------------------------------------------- drags
# Each drag is made, taken back with Ctrl+Z (F7 records what that left),
# and made again the same way.
key F7
standing=$(settled standing)
read -r hx hy <<<"$HAND"
ctrl_drag "$hx" "$hy" $((hx - 90)) $((hy - 120))
poll_shot hand_raised 10 differs_from "$standing" 300 >/dev/null || fail "dragging the hand changed nothing"
raised=$(settled hand_raised)
key ctrl+z
poll_shot hand_undone 10 same_as "$standing" >/dev/null || fail "Ctrl+Z did not put the hand back"
key F7
ctrl_drag "$hx" "$hy" $((hx - 90)) $((hy - 120))
poll_shot hand_again 10 same_as "$raised" >/dev/null || fail "the same drag again did not raise the hand the same way"
key F7
raised=$(settled hand_recorded)
echo "ok - the hand follows a Ctrl drag, and Ctrl+Z takes the drag back"

read -r sx sy <<<"$STOMACH"
ctrl_drag "$sx" "$sy" "$sx" $((sy + 50))
poll_shot crouch 10 differs_from "$raised" 300 >/dev/null || fail "dragging the stomach changed nothing"
crouch=$(settled crouch)
key ctrl+z
poll_shot crouch_undone 10 same_as "$raised" >/dev/null || fail "Ctrl+Z did not put the body back"
key F7
ctrl_drag "$sx" "$sy" "$sx" $((sy + 50))
poll_shot crouch_again 10 same_as "$crouch" >/dev/null || fail "the same body drag again did not crouch the same way"
key F7
echo "ok - the body follows a Ctrl drag on the stomach, and Ctrl+Z takes it back"

# ---------------------------------------------------------------- copy, mirror, exact values
key ctrl+c ctrl+shift+v
poll_shot mirrored 10 differs_from "$crouch" 300 >/dev/null || fail "the mirrored paste changed nothing"
key F7
key ctrl+e
wait_for_dialog "Exact values: STOMK"
# field VALUE: replaces the focused spin button's number, then on to the next.
field() { xdotool key ctrl+a; xdotool type --delay 40 -- "$1"; xdotool key Tab; }
field 10; field -5; xdotool key Tab            # STOMK x, y; z kept
field 2.5; field -3                            # position x, z
xdotool key ctrl+a; xdotool type --delay 40 -- 90   # heading; Return is OK
sleep 0.2; xdotool key Return
sleep 0.5
key F7
save_animation figure1
echo "ok - copy, mirrored paste and the exact values dialog"

key o u ctrl+v F7                               # the second figure, the copied pose
save_animation figure2
python3 "$CHECK" journey "$OUT/figure1.txt" "$OUT/figure2.txt" || fail "the poses read back are not what was done"

# ---------------------------------------------------------------- views
key u                                            # back to figure 1
camera=$(rests camera 10) || fail "the stage did not come to rest"
YELLOW='r>0.9&&g>0.7&&b<0.3'
key ctrl+7
top=$(poll_shot top 10 differs_from "$camera" 2000) || fail "Ctrl+7 did not change the view"
expect "the top view shows the facing arrows" test "$(region_share "$top" 700 500 0 0 "$YELLOW")" -ge 1
key ctrl+1
front=$(poll_shot front 10 differs_from "$top" 2000) || fail "Ctrl+1 did not change the view"
key ctrl+3
poll_shot side 10 differs_from "$front" 2000 >/dev/null || fail "Ctrl+3 did not change the view"
key ctrl+5
poll_shot camera_again 10 same_as "$camera" >/dev/null || fail "Ctrl+5 did not bring the camera back as it was"
echo "ok - top, front and side views, and back to the camera"
expect "program still running" app_alive
