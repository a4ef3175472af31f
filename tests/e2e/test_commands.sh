#!/usr/bin/env bash
# Commands as a person gives them: every built-in choreography, scene and
# camera tour visibly moves the picture, a kick comes to rest while a skip
# keeps going, the second "2" stops the tour, the right-button menu switches
# wireframe on, and "quit" ends the program with status 0.
#
# "Moves" is measured on the part of the window below the head-up text (for
# the camera tours on the floor strip, which the light's marker never
# crosses), after the logo has left (20 s), with the frame limiter on so that
# animations run at no more than 25 frames a second.
source "$(dirname "$0")/lib.sh"
e2e_init commands

# changed A B: pixels below the HUD that differ by more than 20% between two
# screenshots (the moving light shades the floor by a few per cent a second).
changed() { region_changed "$1" "$2" 700 350 0 150 20; }
MOVED=500     # a figure that moves changes thousands of pixels in a second
STILL=150     # slow shading of the moving light stays far below that

# watch NAME: two screenshots a second apart; prints the pixels that changed.
watch() {
  local a b
  a=$(shot "$1_a"); sleep 1; b=$(shot "$1_b")
  ${MEASURE:-changed} "$a" "$b"
}

# floor_moved A B: pixels of the floor strip that changed (camera moves).
floor_moved() { region_changed "$1" "$2" 700 180 0 320 20; }

# moving NAME: pixels changed between a first screenshot and later ones, half
# a second apart, until the change is clear or ten seconds have passed
# (frame rates drop when the machine is busy, and a far camera's slow orbit
# changes few floor pixels at first); prints the largest.
moving() {
  local a b i n most=0
  a=$(shot "$1_0")
  for i in $(seq 1 20); do
    sleep 0.5
    b=$(shot "$1_$i")
    n=$(${MEASURE:-changed} "$a" "$b")
    [ "$n" -gt "$most" ] && most=$n
    [ "$most" -gt "$MOVED" ] && break
  done
  echo "$most"
}

# settling NAME: watches for up to 20 seconds until the picture keeps still
# for a second; prints the last change.
settling() {
  local i n
  for i in $(seq 1 10); do
    n=$(watch "$1_$i")
    [ "$n" -lt "$STILL" ] && break
  done
  echo "$n"
}

# moves KEY WHAT: the key starts something that moves.
moves() {
  key "$1"
  local n; n=$(moving "key_$1")
  expect "$2 (key $1: $n pixels changed)" test "$n" -gt "$MOVED"
}

start_app
sleep 21
key r
n=$(watch still)
expect "a standing figure: the picture keeps still ($n)" test "$n" -lt "$STILL"

# ---------------------------------------------------------------- choreographies
moves k "the left kick"
n=$(settling kick_over)
expect "the kick ends in the standing pose and stays ($n)" test "$n" -lt "$STILL"
moves l "the right kick"
moves 7 "the skip"
sleep 2
n=$(moving skip_on)
expect "the skip keeps cycling ($n)" test "$n" -gt "$MOVED"
moves 9 "the four-step cycle"
moves j "the two-step cycle"

# ---------------------------------------------------------------- built-in scenes
moves 5 "the boy and the girl dance"
moves 6 "the sword fight"
moves 8 "both swordsmen dance the lawnmower"

# ---------------------------------------------------------------- right-button menu
FLOOR_BROWN='r>g&&g>b&&r-b>0.1'
before=$(shot menu_before)
brown_before=$(region_share "$before" 700 120 0 370 "$FLOOR_BROWN")
menu_open 600 200
menu_submenu "$MENU" 1          # "display"
menu_choose "$MENU" 0           # "wireframe"
sleep 0.5
after=$(shot menu_wireframe)
brown_after=$(region_share "$after" 700 120 0 370 "$FLOOR_BROWN")
# The timeline strip and its words' panels cover the rest.
expect "the floor is solid wood before ($brown_before%)" test "$brown_before" -ge 75
expect "display > wireframe draws it in lines ($brown_after%)" test "$brown_after" -le 40
expect "the program is still running" app_alive

key F2             # wireframe off again

# ---------------------------------------------------------------- superman
moves 0 "superman flies, the camera following"
expect "superman's file loaded" grep -q "EOF found" "$LOG"

# ---------------------------------------------------------------- camera tours
key e e e p        # the camera target stays put, nobody shown
MEASURE=floor_moved
sleep 1
n=$(watch empty_stage)
expect "an empty stage keeps still ($n)" test "$n" -lt "$STILL"
# The far camera's orbit barely changes the even floor: judge it by the whole
# stage, horizon and target marker included.
MEASURE=changed moves 2 "the orbit tour"
key 2; sleep 0.3
n=$(watch orbit_stopped)
expect "a second 2 stops the camera where it is ($n)" test "$n" -lt "$STILL"
moves 4 "the low orbit"
key 1 p p p; sleep 0.3   # the tour shows three persons: hide them again
n=$(watch low_orbit_stopped)
expect "1 stops the tour ($n)" test "$n" -lt "$STILL"
MEASURE=changed    # the fly-by starts far out: the stage is small at first
moves 3 "the fly-by"

# ---------------------------------------------------------------- quit
menu_open 600 200
menu_choose "$MENU" 7           # "quit"
wait_for_exit 10
expect "quit ends the program with status 0 (got $APP_STATUS)" test "$APP_STATUS" = 0
