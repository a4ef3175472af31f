#!/usr/bin/env bash
# The music key, as heard through SDL's disk driver: the first press stops
# the intro, the second starts media/01.mp3, the third stops it, the fourth
# starts it again.
source "$(dirname "$0")/lib.sh"
e2e_init music_key

RAW="$ART/music.raw"
audio_capture "$RAW"
start_app
wait_audio "$RAW" 2
r=$(audio_rms "$RAW" "$(audio_seconds 0.2)" "$(audio_seconds 1.8)")
expect "the intro sounds at start-up (rms $r)" is_loud "$r"

# press_music_key SECONDS: presses d, lets SECONDS of sound pass and prints
# the RMS of what was heard from 0.4 s after the press on.
press_music_key() {
  local pressed
  key d
  pressed=$(audio_bytes "$RAW")
  wait_audio "$RAW" "$1"
  audio_rms "$RAW" $((pressed + $(audio_seconds 0.4))) "$(audio_bytes "$RAW")"
}

r=$(press_music_key 1.5)
expect "the first press silences the intro (rms $r)" is_quiet "$r"
r=$(press_music_key 2)
expect "the second press brings music back (rms $r)" is_loud "$r"
r=$(press_music_key 1.5)
expect "the third press silences it (rms $r)" is_quiet "$r"
r=$(press_music_key 2)
expect "the fourth press starts it again (rms $r)" is_loud "$r"
expect "program still running" app_alive
