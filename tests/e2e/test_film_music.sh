#!/usr/bin/env bash
# Films with the scene's music, headless: an .mp4 carries AAC and a .webm
# Opus, each as long as the pictures; the sound is the music from the
# scene's offset (found there by correlation, at under 40 ms). --music
# films another file, --no-music and .gif films are silent, and a scene
# whose music is missing films silently with a warning.
set -euo pipefail
: "${PUPPETORIUM_BIN:?}"; : "${PUPPETORIUM_ROOT:?}"; : "${PUPPETORIUM_BUILD:=$PUPPETORIUM_ROOT/build}"
ART="$PUPPETORIUM_BUILD/e2e-artifacts/film_music"
rm -rf "$ART"; mkdir -p "$ART/scene"
HERE="$(cd "$(dirname "$0")" && pwd)"
OFFSET_BIN="$PUPPETORIUM_BUILD/audio_offset"
cd "$PUPPETORIUM_ROOT"
unset DISPLAY

fail() { echo "FAIL: $*" >&2; echo "FAIL: film_music (artefacts in $ART)"; exit 1; }
expect() { local what="$1"; shift; if "$@"; then echo "ok - $what"; else fail "$what"; fi; }
render() { "$PUPPETORIUM_BIN" --render "$@" --size 320x180 --seconds 4 >>"$ART/console.log" 2>>"$ART/progress.log"; }
streams() { ffprobe -v error -show_entries stream=codec_type,codec_name -of csv=p=0 "$1" | sort | tr '\n' ' '; }
# The film's sound as 48 kHz mono 16-bit samples.
sound() { ffmpeg -v error -i "$1" -map 0:a -ac 1 -ar 48000 -f s16le -y "$2"; }
seconds_of() { awk -v b="$(stat -c %s "$1")" 'BEGIN { printf "%.4f", b / 96000 }'; }
close_to() { awk -v a="$1" -v b="$2" -v d="$3" 'BEGIN { x = a - b; exit !(x < d && -x < d) }'; }

# The scene: the sword fight with a drum track beside it, 1.5 s in at time 0.
bash "$HERE/tools/make_drums.sh" 128 0.37 12 "$ART/scene/drums.wav" 2>/dev/null
bash "$HERE/tools/make_drums.sh" 100 0.2 12 "$ART/other.wav" 2>/dev/null
sed -e 's|^music .*|music drums.wav|' -e 's/^musicOffset .*/musicOffset 1.5/' \
  scenes/swordfight.scene >"$ART/scene/fight.scene"
for f in "$ART/scene/drums.wav" "$ART/other.wav"; do
  sox "$f" -r 48000 -c 1 -t raw -e signed -b 16 -L "${f%.wav}.raw"
done

# from_music FILM REF START: the film's sound 1 s in is REF's from START + 1 s.
from_music() {
  local p c
  sound "$1" "$ART/heard.raw"
  read -r p c <<<"$("$OFFSET_BIN" "$2" "$ART/heard.raw" 48000 1.0 2.0 "$(awk -v s="$3" 'BEGIN { print s + 0.5 }')" \
    "$(awk -v s="$3" 'BEGIN { print s + 1.5 }')")"
  echo "   (found at ${p} s, correlation $c)"
  close_to "$p" "$(awk -v s="$3" 'BEGIN { print s + 1 }')" 0.04 && awk -v c="$c" 'BEGIN { exit !(c >= 0.9) }'
}

render "$ART/scene/fight.scene" --out "$ART/fight.mp4" || fail "the mp4 render failed"
expect "the mp4 holds H.264 and AAC" test "$(streams "$ART/fight.mp4")" = "aac,audio h264,video "
sound "$ART/fight.mp4" "$ART/mp4.raw"
expect "its sound lasts the film's 4 s ($(seconds_of "$ART/mp4.raw") s)" close_to "$(seconds_of "$ART/mp4.raw")" 4 0.04
expect "its sound is the scene's music from 1.5 s" from_music "$ART/fight.mp4" "$ART/scene/drums.raw" 1.5

render "$ART/scene/fight.scene" --out "$ART/fight.webm" || fail "the webm render failed"
expect "the webm holds VP9 and Opus" test "$(streams "$ART/fight.webm")" = "opus,audio vp9,video "
sound "$ART/fight.webm" "$ART/webm.raw"
expect "its sound lasts the film's 4 s ($(seconds_of "$ART/webm.raw") s)" close_to "$(seconds_of "$ART/webm.raw")" 4 0.04
expect "its sound is the scene's music from 1.5 s" from_music "$ART/fight.webm" "$ART/scene/drums.raw" 1.5

render "$ART/scene/fight.scene" --music "$ART/other.wav" --out "$ART/other.mp4" || fail "--music failed"
expect "--music films the other file from the scene's offset" from_music "$ART/other.mp4" "$ART/other.raw" 1.5

render "$ART/scene/fight.scene" --no-music --out "$ART/silent.mp4" || fail "--no-music failed"
expect "--no-music films no sound" test "$(streams "$ART/silent.mp4")" = "h264,video "
render "$ART/scene/fight.scene" --out "$ART/fight.gif" || fail "the gif render failed"
expect "a .gif has no sound" test "$(streams "$ART/fight.gif")" = "gif,video "
render - --keys 6 --out "$ART/keys.mp4" || fail "the render without a scene failed"
expect "a film of no scene is silent" test "$(streams "$ART/keys.mp4")" = "h264,video "

sed -e 's|^music .*|music gone.wav|' "$ART/scene/fight.scene" >"$ART/scene/gone.scene"
render "$ART/scene/gone.scene" --out "$ART/gone.mp4" || fail "a scene with missing music did not film"
expect "missing scene music films silently" test "$(streams "$ART/gone.mp4")" = "h264,video "
expect "... and says why" grep -q "^WARNING: the scene's music 'gone.wav' does not exist; the film is silent" "$ART/console.log"
rc=0; render "$ART/scene/fight.scene" --music /dev/zero --out "$ART/zero.mp4" || rc=$?
expect "--music /dev/zero is refused" test "$rc" -eq 1
expect "... and leaves no film" test ! -e "$ART/zero.mp4"
echo "PASS: film_music"
