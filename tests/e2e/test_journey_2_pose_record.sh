#!/usr/bin/env bash
# A person poses the figure and records a little dance: with animation off
# (so hand posing sticks) the torso is bent with y, w and x and recorded with
# F7; the figure walks back with a held arrow, steps to one side with Tab and
# raises an arm, F7; steps to the other side and turns, F7. Animation on plays
# the three poses once (slowed down with "-" to watch it), "," plays them
# back, "/" freezes the figure mid-way and F8 shows the recorded poses as
# see-through copies.
#
# The frame limiter (r) keeps walking to 25 frames a second; held keys are
# released once the screen shows the figure where it should be, so a slow
# machine walks as far as a fast one.
source "$(dirname "$0")/lib.sh"
e2e_init journey_2_pose_record

# figure_size FILE: pixels of dark suit on the stage.
figure_size() { local x n; read -r x n <<<"$(figure_x "$1")"; echo "$n"; }
# smaller_than N FILE: the suit covers fewer than N pixels.
smaller_than() { [ "$(figure_size "$2")" -lt "$1" ]; }

start_app
wait_first_frame >/dev/null
wait_intro_over

# ---------------------------------------------------------------- posing
hud_value "$(snap animate_on)" 3 "$ART/animate_on.mask.png" >/dev/null
key r F4                                   # frame limiter on, animation off
start=$(poll_shot start 10 figure_within 300 400) || fail "the figure stands at the centre"
hud_value "$start" 3 "$ART/animate_off.mask.png" >/dev/null
expect "the head-up text says the animation is off" \
  pictures_differ "$ART/animate_on.mask.png" "$ART/animate_off.mask.png"
keys y w w w w w w x x x x x x             # torso: bend forward and sideways
bent=$(poll_shot bent 10 differs_from "$start" 800) || fail "turning the torso changed the figure"
expect "the bent figure still stands at the centre" figure_within 300 400 "$bent"
key F7
echo "ok - keyframe 1 recorded (bent torso)"

# ---------------------------------------------------------------- walking
n0=$(figure_size "$bent")
back=$(hold_until back 30 Down smaller_than $((n0 * 7 / 10)))
echo "ok - held Down walks the figure away ($n0 -> $(figure_size "$back") suit pixels)"
read -r xb nb <<<"$(figure_x "$back")"
left=$(hold_until left 30 "Tab Right" figure_within 60 260)
read -r xl nl <<<"$(figure_x "$left")"
expect "Tab with Right steps sideways without coming nearer ($nb -> $nl pixels)" \
  test "$nl" -ge $((nb * 8 / 10)) -a "$nl" -le $((nb * 12 / 10))
keys y y y y y w w w w w w w w w w         # right upper arm up
arm=$(poll_shot arm 10 differs_from "$left" 150) || fail "raising the arm changed the figure"
key F7
echo "ok - keyframe 2 recorded (back, left, arm up)"
read -r x1 _ <<<"$(figure_x "$arm")"     # where the second pose stands

right=$(hold_until right 30 "Tab Left" figure_within 440 640)
read -r xr nr <<<"$(figure_x "$right")"
turned=$(hold_until turned 20 Left differs_from "$right" 300)
read -r xt nt <<<"$(figure_x "$turned")"
expect "Left turns the figure where it stands (x $xr -> $xt)" test $((xt - xr)) -le 40 -a $((xr - xt)) -le 40
key F7
echo "ok - keyframe 3 recorded (right, turned)"

# ---------------------------------------------------------------- playing
key minus minus minus                      # play at 0.4, to watch it go by
key F4                                     # animation on: the dance plays once
# Polled: a screenshot taken at once may still hold the frame before the key.
first=$(poll_shot play_first 5 figure_within 260 440) || true
expect "playing starts over from the first pose, at the centre" figure_within 260 440 "$first"
poll_shot play_middle 30 figure_within $((x1 - 60)) $((x1 + 60)) >/dev/null ||
  fail "the dance did not pass through the second pose (x = $x1)"
echo "ok - it passes through the second pose"
last=$(rests play_end 30 figure_within $((xt - 40)) $((xt + 40))) || fail "the dance did not end on its last pose"
expect "and ends on the last one, where the figure turned ($(band_changed "$turned" "$last") pixels differ)" test "$(band_changed "$turned" "$last")" -le 1000

wait_app_time 20.5                          # backwards play would raise the intro logo again
key comma
back_home=$(rests play_back 30 figure_within 300 400) || fail "',' did not play the dance back to its start"
echo "ok - ',' plays the dance backwards to where it began"

# ---------------------------------------------------------------- freezing
key period minus minus minus minus          # forwards at 0.2
moving=$(poll_shot slow 15 differs_from "$back_home" 300) || fail "the dance did not play forwards again"
key slash
frozen1=$(rests frozen1 10) || fail "'/' did not stop the figure"
sleep 1
frozen2=$(snap frozen2)
expect "'/' freezes the figure mid-dance ($(band_changed "$frozen1" "$frozen2") pixels changed in a second)" \
  test "$(band_changed "$frozen1" "$frozen2")" -le 20
key period
poll_shot unfrozen 10 differs_from "$frozen2" 300 >/dev/null || fail "'.' did not set the frozen figure moving again"
echo "ok - '.' plays on from where it stood"
rests end 30 figure_within $((xt - 40)) $((xt + 40)) >/dev/null || fail "the dance did not end on its last pose again"
key slash                                   # the light stops too: the trail alone changes the picture
end=$(rests end_paused 10) || fail "the paused stage did not come to rest"

# ---------------------------------------------------------------- trail
# The first pose stood at the centre, its torso against the white sky; the
# figure now stands elsewhere and the sky shows there again.
TORSO_BOX="60 40 320 132"
WHITE='r>0.98&&g>0.98&&b>0.98'
DARK='r<0.25&&g<0.25&&b<0.25'
expect "the first pose's torso stood in the probe" test "$(region_share "$bent" $TORSO_BOX "$DARK")" -ge 50
expect "which now shows the sky" test "$(region_share "$end" $TORSO_BOX "$WHITE")" -ge 90
key F8
trail=$(poll_shot trail 10 differs_from "$end" 300) || fail "F8 showed no trail"
read -r r g b <<<"$(region_mean "$trail" $TORSO_BOX)"
expect "F8: a see-through copy of the first pose greys the sky ($r $g $b)" \
  test "$(region_share "$trail" $TORSO_BOX "$WHITE")" -le 30 -a "$r" -le 245
expect "through which the sky still shows (not an opaque suit)" \
  test "$(region_share "$trail" $TORSO_BOX "$DARK")" -le 5 -a "$r" -ge 150
key F8
poll_shot no_trail 10 same_as "$end" >/dev/null || fail "F8 again did not hide the trail"
echo "ok - F8 again hides it"
expect "program still running" app_alive
