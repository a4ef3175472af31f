#!/usr/bin/env bash
# One time line for the whole scene, as a person uses it:
# - Ctrl+K twice with an orbit between gives a film whose camera moves;
# - a dance with a hold (F7 twice without moving, pose, F7) exported to BVH
#   from the menu keeps the hold to the last digit;
# - Shift+F7 keys the head alone, later head keyframes keeping their times;
# - a second figure: Ctrl+Home puts both at time 0, paused, and Ctrl+Return
#   (told from Return by the held Ctrl) starts them together;
# - the scene saved with both figures at their last keyframe films as a
#   dance, and with --from-saved as the still moment it was saved at.
source "$(dirname "$0")/lib.sh"
e2e_init scene_time_line

DATA=$(data_copy)
OUT="$ART/out"; mkdir -p "$OUT"
STRIP_Y=476                       # the timeline strip in a 700 x 500 window

start_app "$DATA"
wait_first_frame >/dev/null

# save_scene NAME: Ctrl+S into $OUT/NAME.scene; waits for the console line.
SAVES=0
save_scene() {
  key ctrl+s
  choose_file "Save Scene" "$OUT/$1"
  SAVES=$((SAVES + 1))
  local i
  for i in $(seq 1 100); do
    [ "$(grep -c 'Scene has been saved' "$LOG")" -ge "$SAVES" ] && return 0
    sleep 0.1
  done
  fail "saving $1 did not finish"
}
# field FILE OWNER WHAT N: word N of the first "anim OWNER WHAT" line.
field() { awk -v o="$2" -v w="$3" -v n="$4" '$1 == "anim" && $2 == o && $3 == w { print $n; exit }' "$1"; }
# motion FILE: the BVH's frame lines.
motion() { awk 'f { print } /^Frame Time:/ { f = 1 }' "$1"; }

# ---------------------------------------------------------------- camera keyframes
key ctrl+k
drag 1 300 150 460 150 12         # orbit
key ctrl+k
save_scene camera
expect "the camera track holds two keyframes" test "$(grep -c '^anim camera\.eye key ' "$OUT/camera.scene")" = 2
x1=$(awk '$2 == "camera.eye" && $3 == "key" { print $4 }' "$OUT/camera.scene" | sort -u | wc -l)
expect "at two places" test "$x1" = 2
film() {
  ( cd "$DATA" && "$PUPPETORIUM_BIN" --render "$OUT/camera.scene" --out "$OUT/$1.png" --frames "$2" \
      --size 320x240 $3 >>"$ART/render.log" 2>&1 )
}
film cam_a 5 ""
film cam_b 38 ""
film still_a 5 --from-saved
film still_b 38 --from-saved
differ() { local n; n=$(compare -metric AE -fuzz 8% "$OUT/$1.png" "$OUT/$2.png" null: 2>&1 || true); echo "${n%% *}"; }
moved=$(differ cam_a cam_b)
kept=$(differ still_a still_b)
echo "camera film: $moved pixels changed; the saved moment filmed: $kept" >&2
expect "the film's camera moves: far more of the picture changes ($moved against $kept)" \
  test "${moved%.*}" -gt $(( ${kept%.*} * 3 + 2000 ))
key ctrl+shift+k                  # cleared: the camera is free again

# ---------------------------------------------------------------- a hold, to BVH
key Return                        # pause, to pose by hand
keys y y y y y                    # the head
keys w w w w w
key F7
key F7                            # the same pose again: hold it
keys s s s s s s s s
key F7
menu_open 600 30
menu_choose "$MENU" 11            # "export BVH..."
choose_file "Export BVH" "$OUT/hold"
wait_for_log "Exported 60 frames to '$OUT/hold.bvh'" 60
motion "$OUT/hold.bvh" >"$ART/hold.motion"
# Frame k shows time k + 1: the hold lasts from time 20 to 40.
held=$(sed -n '20,40p' "$ART/hold.motion" | sort -u | wc -l)
expect "the 21 frames of the hold are one and the same to the last digit ($held distinct)" test "$held" = 1
expect "and the figure moves out of it" \
  test "$(sed -n '40p;50p' "$ART/hold.motion" | sort -u | wc -l)" = 2

# ---------------------------------------------------------------- one part
key ctrl+Home                     # everything to time 0, paused
mouse_move 573 $STRIP_Y; sleep 0.1
xdotool click 1; sleep 0.3        # the strip at time 50
keys q q q q q q
key shift+F7
sleep 0.3
save_scene parts
heads=$(grep -c '^anim person\.0\.HEAD key ' "$OUT/parts.scene")
necks=$(grep -c '^anim person\.0\.NECK key ' "$OUT/parts.scene")
expect "Shift+F7 gave the head a fourth keyframe and the neck none ($heads, $necks)" \
  test "$heads/$necks" = "4/3"
steps=$(awk '$2 == "person.0.HEAD" && $3 == "key" { printf "%s ", $8 }' "$OUT/parts.scene")
expect "the head's last segment was split at 50, the others keep their times ($steps)" \
  test "$steps" = "20 20 10 10 "

# ---------------------------------------------------------------- two figures together
key o u                           # a second figure, selected
key Return
keys y y y y y x x x x x x
key F7
keys w w w w w w w w
key F7
key ctrl+Home
sleep 0.3
save_scene rewound
for i in 0 1; do
  expect "figure $((i + 1)) is at time 0 after Ctrl+Home" \
    test "$(field "$OUT/rewound.scene" "person.$i.TORSO" play 5)" = 0
  expect "and paused" grep -qx "person $i animating 0" "$OUT/rewound.scene"
done
keys minus minus minus minus      # play rate 0.2: the dialog takes a while
key ctrl+Return
sleep 0.4
save_scene together
t0=$(field "$OUT/together.scene" person.0.TORSO play 5)
t1=$(field "$OUT/together.scene" person.1.TORSO play 5)
expect "Ctrl+Return started both figures together ($t0 and $t1)" test "$t0" = "$t1"
expect "and they are playing" grep -qx "person 1 animating 1" "$OUT/together.scene"
expect "Ctrl+Return is not Return: the unselected figure 1 plays too" test "$t0" != 0

# ---------------------------------------------------------------- saved at the end, filmed
key period                        # play rate 1 again
sleep 4                           # both reach their last keyframe and stop
save_scene ended
expect "the scene was saved at the end of figure 1's dance" \
  test "$(field "$OUT/ended.scene" person.0.TORSO play 5)" = 60
( cd "$DATA" && "$PUPPETORIUM_BIN" --render "$OUT/ended.scene" --out "$OUT/ended.bvh" --figure 1 \
    --frames 40 >>"$ART/render.log" 2>&1 )
( cd "$DATA" && "$PUPPETORIUM_BIN" --render "$OUT/ended.scene" --out "$OUT/still.bvh" --figure 1 \
    --frames 40 --from-saved >>"$ART/render.log" 2>&1 )
danced=$(motion "$OUT/ended.bvh" | sort -u | wc -l)
still=$(motion "$OUT/still.bvh" | sort -u | wc -l)
expect "the film of the ended scene is a dance ($danced distinct frames of 40)" test "$danced" -ge 20
expect "--from-saved films the saved moment ($still distinct frames)" test "$still" = 1

expect "the program still runs" app_alive
