#!/usr/bin/env bash
# Music at start-up, as heard through SDL's disk driver: the intro sounds
# from the first moment and plays on; without media/ the program starts
# silent, says nothing about it and still draws.
source "$(dirname "$0")/lib.sh"
e2e_init music

# ------------------------------------------------------------ with media/
RAW="$ART/music.raw"
audio_capture "$RAW"
start_app
wait_audio "$RAW" 4
r=$(audio_rms "$RAW" "$(audio_seconds 0.2)" "$(audio_seconds 2)")
expect "the intro sounds at start-up (rms $r)" is_loud "$r"
r=$(audio_rms "$RAW" "$(audio_seconds 2)" "$(audio_seconds 4)")
expect "and plays on (rms $r)" is_loud "$r"
read -r w h < <(window_size)
normal=$(shot normal)
expect "program still running" app_alive
kill "$APP_PID"; wait "$APP_PID" 2>/dev/null || true; APP_PID=""

# ------------------------------------------------------------ without media/
DATA=$(data_copy)
rm -rf "$DATA/media"
SILENT="$ART/silent.raw"
audio_capture "$SILENT"
start_app "$DATA"
sleep 2
# With nothing to open the sound device is never started; had it been, it
# must have written nothing but silence.
if [ -e "$SILENT" ]; then
  r=$(audio_rms "$SILENT" 0 "$(audio_bytes "$SILENT")")
  expect "no music without media/ (rms $r)" is_quiet "$r"
else
  echo "ok - no music without media/ (no sound device opened)"
fi
expect "program still running without media/" app_alive
silent=$(shot silent)
read -r mr mg mb <<<"$(region_mean "$silent" "$w" "$h" 0 0)"
expect "the window is drawn without media/ (mean $mr $mg $mb)" test $((mr + mg + mb)) -gt 30
# Whatever detail the first frames show with music, they show without.
expect "the frame has the detail it has with music" \
  test "$(region_stddev "$silent" "$w" "$h" 0 0)" -ge $(( $(region_stddev "$normal" "$w" "$h" 0 0) / 2 ))
expect "nothing about music on the console" bash -c "! grep -qiE 'mp3|media|alsa|audio' '$LOG'"
