#!/usr/bin/env bash
# A person records a three-pose dance (centre, a step to one side, a step to
# the other with an arm up), saves it with F6 through the file chooser,
# stands the figure up anew with "-reset" from the right-button menu and
# loads the file back with F5: the same dance plays again, now in a loop,
# and the code rendering of the dance lies in the folder the program runs in.
source "$(dirname "$0")/lib.sh"
e2e_init journey_3_save_reload

DATA=$(data_copy)                 # the program runs here and writes its code export here
OUT="$ART/saved"; mkdir -p "$OUT"
FILE="$OUT/dance.txt"
# step_until NAME "KEYS" X0 X1: holds KEYS until the figure stands between
# X0 and X1; prints a screenshot taken once it has stopped.
step_until() { hold_until "$1" 30 "$2" figure_within "$3" "$4"; }
# seen_both FILE: the figure has by now been seen near both side poses.
SEEN_R=0 SEEN_L=0
seen_both() {
  local x n
  read -r x n <<<"$(figure_x "$1")"
  [ "$n" -ge 2000 ] && [ "$x" -ge $((XR - 60)) ] && [ "$x" -le $((XR + 60)) ] && SEEN_R=1
  [ "$n" -ge 2000 ] && [ "$x" -ge $((XL - 60)) ] && [ "$x" -le $((XL + 60)) ] && SEEN_L=1
  [ "$SEEN_R" = 1 ] && [ "$SEEN_L" = 1 ]
}

start_app "$DATA"
wait_first_frame >/dev/null
wait_intro_over

# ---------------------------------------------------------------- record
key r F4                          # 25 frames a second; animation off while posing
poll_shot centre 10 figure_within 300 400 >/dev/null || fail "the figure stands at the centre"
key F7
read -r XR _ <<<"$(figure_x "$(step_until right "Tab Left" 470 620)")"
key F7
step_until left "Tab Right" 80 230 >/dev/null
keys y y y y y y w w w w w w w w w w    # left upper arm up
arm=$(poll_shot arm 10 differs_from "$ART/left.png" 150) || fail "raising the arm changed the figure"
read -r XL _ <<<"$(figure_x "$arm")"
key F7
echo "ok - three poses recorded: centre, x = $XR, x = $XL"

# ---------------------------------------------------------------- save
key F6
choose_file "Save Animation" "$OUT/dance"
wait_for_log "Animation has been saved"
expect "the file was written with its extension" test -f "$FILE"
expect "it holds three keyframes" grep -qxF '!numKeyFrames=3' "$FILE"
mapfile -t POS < <(grep '^pos=' "$FILE")
x_of() { sed -E 's/^pos=\(([^,]+),.*/\1/' <<<"$1"; }
expect "first pose at the centre (${POS[0]})" awk -v x="$(x_of "${POS[0]}")" 'BEGIN { exit !(x > -1 && x < 1) }'
expect "second pose to the right (${POS[1]})" awk -v x="$(x_of "${POS[1]}")" 'BEGIN { exit !(x > 3) }'
expect "third pose to the left (${POS[2]})" awk -v x="$(x_of "${POS[2]}")" 'BEGIN { exit !(x < -3) }'
CODE="$DATA/_CODE_OUTPUT.txt"
expect "the code rendering lies in the working folder" test -f "$CODE"
expect "the code is newer than the start of this run" test "$CODE" -nt "$DATA/instructions.txt"
# The same three positions, as statements.
mapfile -t CPOS < <(sed -nE 's/^p\.kfaPos\.pushKeyFrame\(([^,]+,[^,]+,[^,]+),REL,speed\);$/\1/p' "$CODE")
expect "the code pushes three positions (${#CPOS[@]})" test "${#CPOS[@]}" = 3
for i in 0 1 2; do
  want=$(sed -E 's/^pos=\((.*)\)REL$/\1/' <<<"${POS[$i]}")
  expect "code position $((i + 1)) is the file's ($want)" test "${CPOS[$i]}" = "$want"
done
expect "and 60 part statements" test "$(grep -c '^p\.part\[[A-Z]*\]\.kfa\.pushKeyFrame(' "$CODE")" = 60

# ---------------------------------------------------------------- reset from the menu
menu_open 600 250
menu_lit "$MENU" 3 menu_reset     # body, display, ------, -reset, ...
menu_choose "$MENU" 3
reset=$(rests reset 15 figure_within 300 400) || fail "-reset did not stand the figure at the centre"
sleep 1.5
expect "and it stays there: its dance is forgotten" same_as "$reset" "$(snap reset_later)"

# ---------------------------------------------------------------- load
key F5
choose_file "Open Animation" "$FILE"
wait_for_log "EOF found"
expect "three position lines applied" test "$(grep -cxF '  Robot position set' "$LOG")" = 3
expect "60 part lines applied" test "$(grep -cE '^  partLabel=[A-Z]+ set$' "$LOG")" = 60
poll_shot replay 40 seen_both >/dev/null ||
  fail "the loaded dance did not take the figure to both recorded places (right $SEEN_R, left $SEEN_L)"
echo "ok - the loaded dance takes the figure to x = $XR and to x = $XL again"
expect "program still running" app_alive
