#!/usr/bin/env bash
# F7 records the pose, F6 saves it through the file chooser (a typed name
# gets ".txt"), F5 loads the file back; Escape in either chooser cancels.
source "$(dirname "$0")/lib.sh"
e2e_init animation_files

DATA=$(data_copy)            # the code export is written in the working folder
OUT="$ART/saved"; mkdir -p "$OUT"
start_app "$DATA"

# ---- record and save
key F7
key F6
choose_file "Save Animation" "$OUT/pose"
wait_for_log "Animation has been saved"
FILE="$OUT/pose.txt"
expect "the default extension was added" test -f "$FILE"
expect "the console named the file, then an empty line" \
  grep -qzF "Save file name: $FILE"$'\n\n'"Animation has been saved" "$LOG"

# The saved text, line by line: header, one 20-step block (recorded in the
# window, so smooth), EOF.
mapfile -t L < "$FILE"
NUM='-?[0-9.]+(e[-+][0-9]+)?'
expect "29 lines (got ${#L[@]})" test "${#L[@]}" = 29
expect "magic line" test "${L[0]}" = '!!!Marionetrix_v1.0'
expect "type line" test "${L[1]}" = '!!type=animation'
expect "name line" test "${L[2]}" = '!name=Moonwalk'
expect "one keyframe" test "${L[3]}" = '!numKeyFrames=1'
expect "block marker" test "${L[4]}" = '<bodykeyframe>'
expect "20 steps" test "${L[5]}" = 'steps=20'
expect "recorded smooth" test "${L[6]}" = 'interp=smooth'
expect "position line (${L[7]})" grep -qE "^pos=\($NUM,$NUM,$NUM\)REL\$" <<<"${L[7]}"
i=8
for label in ROOT TORSO STOMK PELVIS NECK HEAD RUA LUA RLA LLA RH LH RUL LUL RLL LLL RF LF LHI RHI; do
  expect "part line $label (${L[$i]})" grep -qE "^$label=\($NUM,$NUM,$NUM\)\$" <<<"${L[$i]}"
  i=$((i + 1))
done
expect "last line EOF" test "${L[28]}" = 'EOF'
expect "code export written beside the program" grep -qxF 'speed=20;' "$DATA/_CODE_OUTPUT.txt"

# ---- load it back
key F5
choose_file "Open Animation" "$FILE"
wait_for_log "EOF found"
expect "position line applied" grep -qxF "  Robot position set" "$LOG"
expect "20 part lines applied" test "$(grep -cE '^  partLabel=[A-Z]+ set$' "$LOG")" = 20
expect "head line applied" grep -qxF "  partLabel=HEAD set" "$LOG"

# ---- cancelled choosers
key F5
cancel_dialog "Open Animation"
wait_for_log "No File Selected"
key F6
cancel_dialog "Save Animation"
for n in $(seq 1 50); do [ "$(grep -cxF 'No File Selected' "$LOG")" = 2 ] && break; sleep 0.1; done
expect "both cancels reported" test "$(grep -cxF 'No File Selected' "$LOG")" = 2
expect "nothing else saved" test "$(grep -cxF 'Animation has been saved' "$LOG")" = 1
shot after >/dev/null
expect "program still running" app_alive
