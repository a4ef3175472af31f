#!/usr/bin/env bash
# A person listens while they work, heard through SDL's disk driver: the
# intro plays from its beginning at start-up and goes on while the boy and
# girl dance; "d" silences it and the dance goes on; with the help pages
# open "d" starts the second piece from its beginning; closing the help, the
# dance and the music are both still going.
#
# What is heard is matched against the MP3 files by loudness envelope, so
# "from its beginning" and "the second piece" are checked, not only "loud".
source "$(dirname "$0")/lib.sh"
e2e_init journey_5_music

RAW="$ART/music.raw"
audio_capture "$RAW"
mp3_envelope "$PUPPETORIUM_ROOT/media/intro.mp3" 2 >"$ART/intro.env"
mp3_envelope "$PUPPETORIUM_ROOT/media/01.mp3" 2 >"$ART/01.env"

# heard FROM SECONDS NAME: envelope of what was heard, into $ART/NAME.env.
heard() { audio_envelope "$RAW" "$1" "$2" >"$ART/$3.env"; }
# matches REF HEARD: prints "R D" (see envelope_match), delays up to 2 s.
matches() { envelope_match "$ART/$1.env" "$ART/$2.env" 2; }
good() { awk -v r="$1" 'BEGIN { exit !(r >= 0.8) }'; }
poor() { awk -v r="$1" 'BEGIN { exit !(r <= 0.5) }'; }
# press_d SECONDS: presses d and lets SECONDS of sound pass; prints the byte
# offset of the press in the capture.
press_d() {
  local at
  key d
  at=$(audio_bytes "$RAW")
  wait_audio "$RAW" "$1"
  echo "$at"
}
# still_dancing NAME: the stage keeps changing.
still_dancing() {
  local a
  a=$(snap "$1")
  poll_shot "$1_later" 10 differs_from "$a" 500 >/dev/null
}

start_app
wait_audio "$RAW" 4.5
heard 0 4.5 start
read -r r d <<<"$(matches intro start)"
expect "at start-up the intro plays from its beginning (match $r after ${d}s)" good "$r"
read -r r d <<<"$(matches 01 start)"
expect "and it is not the second piece (match $r)" poor "$r"

wait_first_frame >/dev/null
wait_intro_over
key 5
wait_for_log "EOF found"
still_dancing dance || fail "the boy and girl do not dance"
now=$(audio_bytes "$RAW")
wait_audio "$RAW" 1.5
r=$(audio_rms "$RAW" "$now" "$(audio_bytes "$RAW")")
expect "the intro goes on while they dance (rms $r)" is_loud "$r"

# ---------------------------------------------------------------- d: off
at=$(press_d 1.5)
r=$(audio_rms "$RAW" $((at + $(audio_seconds 0.4))) "$(audio_bytes "$RAW")")
expect "d silences the music (rms $r)" is_quiet "$r"
still_dancing silent_dance || fail "the dance stopped with the music"
echo "ok - the dance goes on in silence"

# ---------------------------------------------------------------- d: on, from the help pages
help_shown() { [ "$(dark_share "$1" 698 498 0 0)" -ge 80 ]; }
key F1
poll_shot help 10 help_shown >/dev/null || fail "F1 did not open the help"
at=$(press_d 4)
heard "$at" 4 second
read -r r d <<<"$(matches 01 second)"
expect "d in the help pages starts the second piece from its beginning (match $r after ${d}s)" good "$r"
read -r r d <<<"$(matches intro second)"
expect "not the intro again (match $r)" poor "$r"
key F1
still_dancing back_to_dance || fail "after the help the dance did not go on"
now=$(audio_bytes "$RAW")
wait_audio "$RAW" 1.5
r=$(audio_rms "$RAW" "$now" "$(audio_bytes "$RAW")")
expect "closing the help: the dance and the music go on (rms $r)" is_loud "$r"
expect "program still running" app_alive
