#!/usr/bin/env bash
# A person sets up the sword fight with "6", pauses it, saves figure 0's
# animation with F6 and the whole scene with Ctrl+S, quits from the menu and
# starts the program again with the scene file on the command line: F6 of
# figure 0 writes the same animation file, and the stage shows the same
# fight. Then, listening through SDL's disk driver to a scene whose music
# starts 10 s into media/01.mp3: the music follows the timeline, and when
# "6" puts the figures back to their start the music goes back to 10 s.
#
# Music positions are found by matching the heard samples against the
# decoded file (tools/audio_offset). The piece repeats every 7.5 s, so each
# search looks only in a window shorter than that around where it should be.
source "$(dirname "$0")/lib.sh"
e2e_init scene_files

DATA=$(data_copy)
OUT="$ART/saved"; mkdir -p "$OUT"
OFFSET_BIN="$PUPPETORIUM_BUILD/audio_offset"
# The stage below the HUD: its clock line differs between the runs.
BELOW_HUD="700x350+0+150"
same_stage() {
  local n
  n=$(compare -metric AE -fuzz 10% "$1[$BELOW_HUD]" "$2[$BELOW_HUD]" null: 2>&1 || true)
  n=${n%% *}
  echo "$n pixels differ" >&2
  [ "${n%.*}" -le 40 ]
}
save_animation() {
  key F6
  choose_file "Save Animation" "$1"
  wait_for_log "Animation has been saved"
}

# ---------------------------------------------------------------- the fight, saved
start_app "$DATA"
wait_first_frame >/dev/null
wait_intro_over
key 6
wait_for_log "EOF found"
sleep 1
key slash                         # pause the fight where it is
fight=$(rests fight 15) || fail "the paused fight did not come to rest"
save_animation "$OUT/before.txt"
key ctrl+s
choose_file "Save Scene" "$OUT/fight"
wait_for_log "Scene has been saved"
SCENE="$OUT/fight.scene"
expect "Ctrl+S wrote the scene with its extension" test -f "$SCENE"
expect "it names two persons" grep -qxF "numPersons 2" "$SCENE"
expect "and figure 0's ten TORSO keyframes" test "$(grep -c '^anim person\.0\.TORSO key ' "$SCENE")" = 10
menu_open 600 200
menu_choose "$MENU" 7             # "quit"
wait_for_exit 10

# ---------------------------------------------------------------- and opened again
start_app "$DATA" "$SCENE"
wait_for_log "Scene opened from '$SCENE'"
wait_first_frame >/dev/null
wait_app_time 20.5                # the help hint and the intro logo have gone
again=$(rests again 15) || fail "the reopened fight did not come to rest"
expect "the reopened scene shows the same paused fight" same_stage "$fight" "$again"
save_animation "$OUT/after.txt"
expect "F6 of figure 0 writes the same animation file" cmp -s "$OUT/before.txt" "$OUT/after.txt"
key period                        # play on: rate 1
moved=$(poll_shot moved 10 differs_from "$again" 300) || fail "the reopened fight does not play on"
expect "program still running" app_alive
menu_open 600 200
menu_choose "$MENU" 7
wait_for_exit 10

# ---------------------------------------------------------------- music following the timeline
# The scene starts paused with its music 10 s into the file: "." plays it
# from 10 s; 3.75 s later "6" puts the figures back to their start, and the
# music back to 10 s. Half a period away from where it would have got to
# without the seek, so the two cannot be taken for each other.
RAW="$ART/music.raw"
sed -e 's/^musicOffset 0$/musicOffset 10/' -e 's/^selectedPerson 0$/selectedPerson 0\nplayRate 0/' \
  "$DATA/scenes/swordfight.scene" >"$OUT/music.scene"
{ lame --decode --quiet "$PUPPETORIUM_ROOT/media/01.mp3" - 2>/dev/null || true; } |
  sox -t wav - -r 5512 -c 1 -t raw -e signed -b 16 -L "$ART/ref.raw" 2>/dev/null
audio_capture "$RAW"
start_app "$DATA" "$OUT/music.scene"
wait_for_log "Scene opened from"
wait_first_frame >/dev/null
wait_audio "$RAW" 1.5
at0=$(audio_bytes "$RAW")
wait_audio "$RAW" 0.5
r=$(audio_rms "$RAW" "$at0" "$(audio_bytes "$RAW")")
expect "the paused scene keeps its music silent (rms $r)" is_quiet "$r"
key period
at1=$(audio_bytes "$RAW")
wait_audio "$RAW" 3.75
key 6
at2=$(audio_bytes "$RAW")
wait_for_log "EOF found"
wait_audio "$RAW" 3
sox -t raw -r 44100 -e signed -b 16 -c 2 -L "$RAW" -r 5512 -c 1 -t raw -e signed -b 16 -L "$ART/heard.raw"
# position BYTES PLUS_S: "OFFSET CORRELATION" in the file, searched from 9.5 to
# 13 s, of 0.4 s heard PLUS_S after byte BYTES of the capture.
position() {
  "$OFFSET_BIN" "$ART/ref.raw" "$ART/heard.raw" 5512 \
    "$(awk -v b="$1" -v p="$2" 'BEGIN { printf "%.3f", b / (44100 * 4) + p }')" 0.4 9.5 13.0
}
# from_10s BYTES: the music heard after byte BYTES started at 10 s in the
# file, give or take the delay between a key and the sound: one of three
# looks 1 to 2 s later finds the file's samples there. (On a loaded machine a
# slow frame makes the music catch up with the timeline once in a while.)
FOUND=""
from_10s() {
  local plus p c
  FOUND=""
  for plus in 1.0 1.5 2.0; do
    read -r p c <<<"$(position "$1" "$plus")"
    FOUND="$FOUND ${p}s/$c"
    awk -v p="$p" -v c="$c" -v d="$plus" 'BEGIN { exit !(c >= 0.9 && p - d >= 9.2 && p - d <= 10.6) }' && return 0
  done
  return 1
}
from_10s "$at1" || true
expect "playing on, the music starts 10 s into the file (1, 1.5, 2 s later:$FOUND)" from_10s "$at1"
expect "after the seek the samples are the file's from 10 s on" from_10s "$at2"
echo "   (1, 1.5, 2 s after the seek:$FOUND)"
expect "program still running" app_alive
