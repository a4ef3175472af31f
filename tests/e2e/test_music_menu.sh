#!/usr/bin/env bash
# Dancing to music, as a user does it in the window: "music..." in the
# "scene" submenu refuses a file that is no music (the console says why)
# and takes a drum track; its waveform and beat marks appear on the
# timeline strip once the first keyframe is there; Alt+Right moves the
# music; with Ctrl+B each F7 keyframe ends on a beat; Ctrl+S saves a scene
# that names the music beside it and its offset.
source "$(dirname "$0")/lib.sh"
e2e_init music_menu
HERE="$(cd "$(dirname "$0")" && pwd)"
DATA=$(data_copy)
OUT="$ART/out"; mkdir -p "$OUT"
bash "$HERE/tools/make_drums.sh" 120 0.5 20 "$OUT/drums.wav" 2>/dev/null
echo "no music in here" >"$OUT/notes.mp3"

# music_menu PATH: "scene" > "music..." and PATH in the chooser.
music_menu() {
  menu_open 600 200
  menu_submenu "$MENU" 8
  menu_choose "$MENU" 4
  choose_file "Open Music" "$1"
}
# teal_share SHOT: share of the strip's pixels the waveform colours.
teal_share() { region_share "$1" 668 18 16 468 'g>0.45&&b>0.4&&r<0.45&&g>r+0.2'; }
# orange_pixels SHOT: pixels of the strip in the bar marks' orange.
orange_pixels() {
  convert "$1" -crop 668x18+16+468 +repage -alpha off -fx '(r>0.9&&g>0.45&&g<0.7&&b<0.35)?1:0' \
    -format '%[fx:int(mean.r*w*h+0.5)]' info:
}

start_app "$DATA"
wait_first_frame >/dev/null
wait_intro_over
music_menu "$OUT/notes.mp3"
wait_for_log "ERROR: music file '$OUT/notes.mp3' not taken: "
music_menu "$OUT/drums.wav"
wait_for_log "Scene music is now '$OUT/drums.wav'"

key alt+Right alt+Right           # the music two steps later: offset -0.08
key ctrl+b
key Return                        # paused: the figure holds still for posing
for i in 1 2 3 4; do key x x x; key F7; sleep 0.2; done
strip=""
for i in $(seq 1 50); do
  strip=$(shot strip)
  [ "$(teal_share "$strip")" -ge 3 ] && break
  sleep 0.2
done
expect "the strip shows the waveform ($(teal_share "$strip") % of it)" test "$(teal_share "$strip")" -ge 3
expect "and orange bar marks ($(orange_pixels "$strip") pixels)" test "$(orange_pixels "$strip")" -ge 10

key ctrl+s
choose_file "Save Scene" "$OUT/dance"
wait_for_log "Scene has been saved"
SCENE="$OUT/dance.scene"
expect "the scene names the music beside it" grep -qxF "music drums.wav" "$SCENE"
expect "and the offset Alt+Right set" grep -qxF "musicOffset -0.08" "$SCENE"
# Where the keyframes end (steps, summed) against the true beats: 0.5 s and
# every 0.5 s after in the music, the music 0.08 s later than the animation.
ends=$(awk '/^anim person\.0\.TORSO key / { t += $8; printf "%s ", t }' "$SCENE")
on_beats() {
  awk -v ends="$ends" 'BEGIN {
    n = split(ends, e, " "); if (n != 4) exit 1
    for (i = 1; i <= n; i++) {
      k = (e[i] / 25 - 0.08 - 0.5) / 0.5; k = int(k + 0.5)
      beat = (0.5 + 0.5 * k + 0.08) * 25; d = e[i] - beat
      if (d > 1 || d < -1 || (i > 1 && e[i] - e[i - 1] < 2)) exit 1
    } }'
}
expect "each keyframe ends on a beat (ends at steps: $ends)" on_beats
expect "program still running" app_alive
