#!/usr/bin/env bash
# A person makes a first dance as the quick start says: F7, Return to pause,
# then pose and F7 twice more. They go to the second keyframe and delete it,
# save (two blocks: the first and third poses), undo (three blocks, as
# before), redo, go to the first keyframe, change it and replace it (only the
# first block changes), and scrub along the timeline, seeing the figure move.
source "$(dirname "$0")/lib.sh"
e2e_init journey_6_editing

DATA=$(data_copy)
OUT="$ART/saved"; mkdir -p "$OUT"
STRIP_Y=476                       # the timeline strip in a 700 x 500 window

start_app "$DATA"
wait_first_frame >/dev/null
wait_intro_over
bare=$(snap no_keyframes)

# heads FILE / positions FILE: the HEAD and pos lines, one per block.
heads() { grep '^HEAD=' "$1" | tr '\n' ' '; }
blocks() { grep -c '^<bodykeyframe>$' "$1"; }
# block FILE N: the 22 lines of block N (steps, pos, parts).
block() { awk -v n="$2" '/^<bodykeyframe>$/ { b++ ; next } /^EOF$/ { b = 0 } b == n' "$1"; }

# ---------------------------------------------------------------- record
keys y y y y y                    # the head
key F7
key Return                        # the first F7 set the figure playing: pause it
keys w w w w w w c c c c c        # head up, figure raised
key F7
keys s s s s s                    # head turned
key F7
sleep 0.5
rec=$(snap recorded)
expect "a timeline strip has appeared along the bottom" \
  test "$(region_changed "$bare" "$rec" 668 16 16 470)" -ge 3000

# ---------------------------------------------------------------- delete the second
key Home Next                     # first, then the next one: the second keyframe
key Delete
sleep 0.3
shot deleted >/dev/null
save_animation two
expect "two blocks after the delete ($(blocks "$OUT/two.txt"))" test "$(blocks "$OUT/two.txt")" = 2
expect "the first and third poses remain: $(heads "$OUT/two.txt")" \
  test "$(heads "$OUT/two.txt")" = "HEAD=(0,0,0) HEAD=(24,20,0) "

# ---------------------------------------------------------------- undo, redo
key ctrl+z
sleep 0.3
shot undone >/dev/null
save_animation three
expect "three blocks after the undo ($(blocks "$OUT/three.txt"))" test "$(blocks "$OUT/three.txt")" = 3
expect "all three poses back: $(heads "$OUT/three.txt")" \
  test "$(heads "$OUT/three.txt")" = "HEAD=(0,0,0) HEAD=(24,0,0) HEAD=(24,20,0) "
expect "the second pose raised the figure" \
  awk -v y="$(grep '^pos=' "$OUT/three.txt" | sed -n 2p | cut -d, -f2)" 'BEGIN { exit !(y > 1.4) }'
key ctrl+y

# ---------------------------------------------------------------- replace the first
key Home
keys a a a
key ctrl+r
sleep 0.3
shot replaced >/dev/null
save_animation replaced
expect "still two blocks ($(blocks "$OUT/replaced.txt"))" test "$(blocks "$OUT/replaced.txt")" = 2
expect "block 1 changed: $(heads "$OUT/replaced.txt")" \
  test "$(heads "$OUT/replaced.txt")" = "HEAD=(0,-12,0) HEAD=(24,20,0) "
expect "block 2 is as before" test "$(block "$OUT/replaced.txt" 2)" = "$(block "$OUT/two.txt" 2)"
expect "block 1 differs only in its HEAD line" \
  test "$(diff <(block "$OUT/two.txt" 1) <(block "$OUT/replaced.txt" 1) | grep -c '^[<>]')" = 2

# ---------------------------------------------------------------- scrub
key End
sleep 0.3
before=$(snap before_scrub)
drag 1 682 $STRIP_Y 200 $STRIP_Y 12
sleep 0.3
after=$(snap after_scrub)
moved=$(region_changed "$before" "$after" 200 320 250 40)
expect "scrubbing back along the strip moved the figure ($moved pixels)" test "$moved" -ge 300
drag 1 200 $STRIP_Y 600 $STRIP_Y 12
sleep 0.3
again=$(snap scrubbed_on)
expect "scrubbing on moves it again" test "$(region_changed "$after" "$again" 200 320 250 40)" -ge 300
expect "the strip held the drags: the camera did not orbit (stage unchanged at the edges)" \
  test "$(region_changed "$before" "$again" 120 60 20 380)" -le 40

expect "program still running" app_alive
