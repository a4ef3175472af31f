#!/usr/bin/env bash
# The mouse drives the view: a left drag orbits the camera about its target
# and back, a middle drag moves the eye back and forth, a left or middle
# press turns the help pages (stopping at the first), and in SPIN_PART a
# left drag turns the figure while the camera stays.
#
# Probes, in the 700 x 500 window seen from the start camera: the sky at the
# top right (white above the stage's far edge) and a band just under that
# edge (floor). The logo block and the help hint near the centre are gone
# after 20 seconds; the figure checks wait for that.
source "$(dirname "$0")/lib.sh"
e2e_init mouse

# gray FILE W H X Y: mean brightness (0-255) of a rectangle.
gray() { convert "$1" -crop "${2}x${3}+${4}+${5}" +repage -colorspace gray -format '%[fx:int(255*mean+0.5)]' info:; }
sky() { gray "$1" 170 70 520 30; }
band() { gray "$1" 170 50 520 190; }
# changed A B W H X Y: pixels of a rectangle that differ by more than 15%.
changed() {
  local a="$ART/.crop_a.png" b="$ART/.crop_b.png" n
  convert "$1" -crop "${3}x${4}+${5}+${6}" +repage "$a"
  convert "$2" -crop "${3}x${4}+${5}+${6}" +repage "$b"
  n=$(compare -metric AE -fuzz 15% "$a" "$b" null: 2>&1 || true)
  echo "${n%% *}"
}
is_sky() { [ "$1" -gt 235 ]; }
is_floor() { [ "$1" -lt 215 ]; }
settle() { sleep 0.5; }

start_app
T0=$SECONDS
# The first frames can take a moment (textures); wait for the white sky.
for i in $(seq 1 60); do
  f=$(shot start)
  is_sky "$(sky "$f")" && is_floor "$(band "$f")" && break
  sleep 0.5
done
expect "start view: sky at the top right ($(sky "$f")), floor under the far edge ($(band "$f"))" \
  eval 'is_sky "$(sky "$f")" && is_floor "$(band "$f")"'

# ---- left drag: across the window and down lifts the eye over the stage
drag 1 100 150 600 250 25; settle
f=$(shot orbit)
expect "left drag orbits the eye up: the floor fills the sky ($(sky "$f"))" is_floor "$(sky "$f")"
drag 1 600 250 100 150 25; settle
f=$(shot orbit_back)
expect "dragging back restores the start view ($(sky "$f"), $(band "$f"))" \
  eval 'is_sky "$(sky "$f")" && is_floor "$(band "$f")"'

# ---- middle drag: pointer down moves the eye back, the far edge sinks
drag 2 350 300 350 360 12; settle
f=$(shot pan)
expect "middle drag moves the eye back: sky under the old edge ($(band "$f"))" is_sky "$(band "$f")"
drag 2 350 360 350 300 12; settle
f=$(shot pan_back)
expect "middle drag back brings the floor back ($(band "$f"))" is_floor "$(band "$f")"

# ---- help pages turned by buttons
key F1; sleep 0.5
h0=$(shot help0)
expect "help screen is black ($(gray "$h0" 700 500 0 0))" test "$(gray "$h0" 700 500 0 0)" -lt 60
mouse_move 350 250; xdotool click 2; settle
f=$(shot help0_again)
expect "middle press on the first page stays there ($(changed "$h0" "$f" 600 480 100 10) px changed)" \
  test "$(changed "$h0" "$f" 600 480 100 10)" -lt 20
xdotool click 1; settle
h1=$(shot help1)
expect "left press shows the next page ($(changed "$h0" "$h1" 600 480 100 10) px changed)" \
  test "$(changed "$h0" "$h1" 600 480 100 10)" -gt 200
xdotool click 2; settle
f=$(shot help0_back)
expect "middle press goes back to the first page ($(changed "$h0" "$f" 600 480 100 10) px changed)" \
  test "$(changed "$h0" "$f" 600 480 100 10)" -lt 20
key F1; sleep 0.5

# ---- SPIN_PART: a left drag rolls the figure about its root; the view stays
while [ $((SECONDS - T0)) -lt 21 ]; do sleep 0.5; done
key space; settle
s0=$(shot spin_before)
sleep 1
s0b=$(shot spin_idle)
idle_change=$(changed "$s0" "$s0b" 240 160 230 200)
drag 1 200 420 470 420 15; settle
s1=$(shot spin_after)
roll_change=$(changed "$s0" "$s1" 240 160 230 200)
expect "the figure turned: $roll_change px changed around it (idle: $idle_change)" \
  test "$roll_change" -gt $((idle_change + 1500))
expect "the camera stayed: sky ($(sky "$s1")) and floor ($(band "$s1")) in place" \
  eval 'is_sky "$(sky "$s1")" && is_floor "$(band "$s1")"'
expect "program still running" app_alive
