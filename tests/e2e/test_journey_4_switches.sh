#!/usr/bin/env bash
# A person tries the display switches on a paused stage (so nothing moves by
# itself and every change is the switch's): F2, F3 and F9 to F11 each change
# the picture and change it back; the display menu draws the same wireframe
# as F2 and an orthographic view; light 3 lights only faces turned away from
# the viewer, so F12 shows once the camera has been dragged under the stage;
# F4 stops a dance and starts it again.
source "$(dirname "$0")/lib.sh"
e2e_init journey_4_switches

WHITE='r>0.98&&g>0.98&&b>0.98'

# toggles_back KEY NAME MIN: KEY changes at least MIN pixels of the stage
# band from $BASE (prints that screenshot), and KEY again brings $BASE back.
toggles_back() {
  local f
  key "$1"
  f=$(poll_shot "$2" 10 differs_from "$BASE" "$3") || fail "$1 did not change the picture ($2)"
  echo "$f"
  key "$1"
  poll_shot "$2_off" 10 same_as "$BASE" >/dev/null || fail "$1 again did not bring the picture back ($2)"
}
# display_menu I NAME: chooses entry I of the display sub-menu (wireframe,
# lighting, orthographic) of the menu opened over the floor.
display_menu() {
  menu_open 600 300
  menu_submenu "$MENU" 1             # body, display, ------, -reset, ...
  menu_lit "$MENU" "$1" "$2"
  menu_choose "$MENU" "$1"
}

start_app
wait_first_frame >/dev/null
wait_intro_over

# ---------------------------------------------------------------- switches
# Paused, nothing moves by itself: every change below is the switch's.
key slash
BASE=$(rests base 10) || fail "the paused stage did not come to rest"
flat=$(toggles_back F3 untextured 3000)
expect "F3: the floor loses its grain" test "$(region_stddev "$flat" 300 60 200 430)" -le 2
toggles_back F9 light0 3000 >/dev/null
echo "ok - F9 switches light 0 off and on"
toggles_back F10 light1 3000 >/dev/null
echo "ok - F10 switches the moving light off and on"
toggles_back F11 light2 3000 >/dev/null
echo "ok - F11 switches light 2 on and off"

display_menu 2 menu_ortho
poll_shot ortho 10 differs_from "$BASE" 3000 >/dev/null || fail "display > orthographic did not change the view"
echo "ok - display > orthographic changes the projection"
display_menu 2 menu_ortho_off
poll_shot perspective 10 same_as "$BASE" >/dev/null || fail "orthographic chosen again did not bring the perspective back"
echo "ok - and chosen again brings the perspective back"

# ---------------------------------------------------------------- F4
key period 5                          # play on; the boy and girl dance
wait_for_log "EOF found"
dance=$(poll_shot dance 10 differs_from "$BASE" 3000) || fail "the dance did not start"
poll_shot dance2 10 differs_from "$dance" 500 >/dev/null || fail "the dancers do not move"
echo "ok - the dancers move"
# Playing on, the moving light still shades the stage a little differently
# from one second to the next (by a few per cent, less on a slow machine);
# a dancer moves thousands of pixels.
export BAND_FUZZ=20
still_dancers() { [ "$(band_changed "$1" "$2")" -le 1000 ]; }
key F4
frozen=$(REST_PIXELS=1000 rests frozen 10) || fail "F4 did not stop the dance"
sleep 1
later=$(snap frozen2)
expect "F4: the dancers stand still ($(band_changed "$frozen" "$later") pixels changed in a second)" \
  still_dancers "$frozen" "$later"
key F4
poll_shot thawed 10 differs_from "$frozen" 500 >/dev/null || fail "F4 again did not set them dancing"
echo "ok - F4 again sets them dancing"
unset BAND_FUZZ

# ---------------------------------------------------------------- wireframe
# Lines show what the floor hid: the intro logo, drawn for the first 20
# seconds, must be gone for good.
key slash
wait_app_time 20.5
BASE=$(rests base2 10) || fail "the paused stage did not come to rest"
wire=$(toggles_back F2 wireframe 3000)
expect "F2: the floor is drawn as lines, the sky shows through it" \
  test "$(region_share "$wire" 300 60 200 430 "$WHITE")" -ge 50
display_menu 0 menu_wireframe
poll_shot menu_wire 10 same_as "$wire" >/dev/null || fail "the menu's wireframe is not F2's"
echo "ok - display > wireframe draws what F2 draws"
display_menu 0 menu_wireframe_off
poll_shot menu_wire_off 10 same_as "$BASE" >/dev/null || fail "display > wireframe again did not fill the faces again"
echo "ok - and chosen again fills them again"

# ---------------------------------------------------------------- F12
# Light 3 shines towards the viewer. A drag up no longer takes the camera
# under the stage: it stops above the floor, and the floor's top stays in view.
drag 1 350 300 350 150 10
drag 1 350 300 350 150 10
low=$(rests low 10) || fail "the stage did not come to rest after the drags"
# Below the figures and above the timeline strip (from row 440).
read -r r g b <<<"$(region_mean "$low" 200 40 250 385)"
expect "the camera stays above the floor: its wood shows from above ($r $g $b)" test $((r - b)) -gt 30
BASE=$low
# Light 3 lit only the stage's underside, which no camera reaches now: F12
# is pressed on and off here, and the GL tier checks the light it switches.
key F12; key F12
echo "ok - F12 twice leaves the program running"
expect "program still running" app_alive
