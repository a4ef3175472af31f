#!/usr/bin/env bash
# A left click on a body part selects it (drawn yellow), a click on the bare
# floor changes nothing, a drag that starts on a part and comes back is not a
# click, and the wheel zooms the camera in and out again.
#
# Probes, in the 700 x 500 window seen from the start camera once the intro
# logo has gone: the figure's right upper arm hangs at x 305..328, y 135..205
# (on the left as we face it), the left one at x 372..395.
source "$(dirname "$0")/lib.sh"
e2e_init click_and_wheel

# yellow FILE W H X Y: pixels of a rectangle in the selection's yellow.
yellow() {
  convert "$1" -crop "${2}x${3}+${4}+${5}" +repage -alpha off \
    -fx '(r>0.7&&g>0.7&&b<0.45)?1:0' -format '%[fx:int(mean.r*w*h+0.5)]' info:
}
right_arm() { yellow "$1" 24 60 305 140; }
left_arm() { yellow "$1" 24 60 372 140; }
arm_selected() { [ "$(right_arm "$1")" -ge 300 ] && [ "$(left_arm "$1")" -le 20 ]; }
suit() { local x n; read -r x n <<<"$(figure_x "$1")"; echo "$n"; }
click() { mouse_move "$1" "$2"; sleep 0.1; xdotool click 1; }

start_app
wait_first_frame >/dev/null
wait_intro_over
f=$(snap start)
expect "no part is yellow at start ($(right_arm "$f"), $(left_arm "$f"))" \
  eval '[ "$(right_arm "$f")" -le 20 ] && [ "$(left_arm "$f")" -le 20 ]'

click 316 170
f=$(poll_shot clicked 20 arm_selected) || true
expect "a click on the right upper arm selects it ($(right_arm "$f") yellow pixels)" arm_selected "$f"

click 650 470; sleep 0.5
f=$(snap floor_click)
expect "a click on the bare floor keeps the selection ($(right_arm "$f"))" arm_selected "$f"

# Out 40 pixels and back: the camera turns and returns, nothing is selected.
drag 1 384 170 424 170 8
drag 1 424 170 384 170 8
f=$(poll_shot dragged 20 arm_selected) || true
expect "a drag from the left arm does not select it ($(left_arm "$f"))" arm_selected "$f"

before=$(suit "$f")
# One step is a tenth of the way: three make the suit about 1.5 times the
# pixels (twice that if each step were taken twice).
larger() { local n; n=$(suit "$1"); [ "$n" -ge $((before * 13 / 10)) ] && [ "$n" -le $((before * 19 / 10)) ]; }
as_before() { local n; n=$(suit "$1"); [ "$n" -le $((before * 11 / 10)) ] && [ "$n" -ge $((before * 9 / 10)) ]; }
focus
xdotool click 4 click 4 click 4
f=$(poll_shot zoomed_in 20 larger) || true
expect "three wheel steps in make the figure larger, once each ($before -> $(suit "$f") suit pixels)" larger "$f"
xdotool click 5 click 5 click 5
f=$(poll_shot zoomed_out 20 as_before) || true
expect "three steps out bring it back ($(suit "$f") suit pixels)" as_before "$f"

# A second figure joins on the right; a click on her head selects figure 2's
# HEAD: the head turns yellow (each figure shows its own selected part, so
# the man's arm stays yellow) and the HUD's figure and part lines change.
head2() { yellow "$1" 30 36 485 102; }
hud_lines() { convert "$1" -crop 120x40+115+142 +repage -threshold 50% -format '%#' info:; }
key o
sleep 1
f=$(snap two_figures)
hud_before=$(hud_lines "$f")
click 499 118
head_selected() { [ "$(head2 "$1")" -ge 300 ]; }
f=$(poll_shot second_head 20 head_selected) || true
expect "a click on the second figure's head selects it ($(head2 "$f") yellow pixels)" \
  head_selected "$f"
expect "and the HUD's figure and part lines say so" test "$(hud_lines "$f")" != "$hud_before"
