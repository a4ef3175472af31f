#!/usr/bin/env bash
# `--beats FILE` on drum tracks of known tempo whose first beat is 0.37 s in,
# as WAV, OGG and MP3: the tempo within 1 BPM, at least nine beats in ten
# found within 40 ms, few beats where there is none. Files that are no
# music (a device, a FIFO, a folder, text) are refused at once.
set -euo pipefail
: "${PUPPETORIUM_BIN:?}"; : "${PUPPETORIUM_ROOT:?}"; : "${PUPPETORIUM_BUILD:=$PUPPETORIUM_ROOT/build}"
ART="$PUPPETORIUM_BUILD/e2e-artifacts/music_beats"
rm -rf "$ART"; mkdir -p "$ART"
HERE="$(cd "$(dirname "$0")" && pwd)"
unset DISPLAY

fail() { echo "FAIL: $*" >&2; echo "FAIL: music_beats (artefacts in $ART)"; exit 1; }
expect() { local what="$1"; shift; if "$@"; then echo "ok - $what"; else fail "$what"; fi; }

# judge OUT BPM FIRST LENGTH: the beats printed against the true ones.
judge() {
  awk -v bpm="$2" -v first="$3" -v len="$4" '
    NR == 1 { if ($1 != "tempo") { print "no tempo line"; exit 1 } tempo = $2; next }
    { got[n++] = $1 }
    END {
      gap = 60 / bpm
      for (t = first; t < len - 0.1; t += gap) want[m++] = t
      hit = 0; extra = 0
      for (i = 0; i < m; i++) for (j = 0; j < n; j++) if (got[j] - want[i] < 0.04 && want[i] - got[j] < 0.04) { hit++; break }
      for (j = 0; j < n; j++) { near = 0; for (i = 0; i < m; i++) if (got[j] - want[i] < 0.04 && want[i] - got[j] < 0.04) near = 1; if (!near) extra++ }
      d = tempo - bpm; if (d < 0) d = -d
      printf "tempo %s, %d of %d beats within 40 ms, %d extra\n", tempo, hit, m, extra
      exit !(d <= 1 && hit * 10 >= m * 9 && extra * 10 <= m)
    }' "$1"
}

for bpm in 128 100; do
  bash "$HERE/tools/make_drums.sh" "$bpm" 0.37 30 "$ART/d$bpm.wav" 2>/dev/null
  sox "$ART/d$bpm.wav" "$ART/d$bpm.ogg"
  lame --quiet "$ART/d$bpm.wav" "$ART/d$bpm.mp3"
  len=$(soxi -D "$ART/d$bpm.wav")
  for ext in wav ogg mp3; do
    f="$ART/d$bpm.$ext" out="$ART/beats-$bpm.$ext.txt"
    "$PUPPETORIUM_BIN" --beats "$f" >"$out" || fail "--beats $f failed"
    verdict=$(judge "$out" "$bpm" 0.37 "$len") && ok=1 || ok=0
    expect "$bpm BPM as .$ext: $verdict" test "$ok" = 1
    expect "beat times have three decimals" \
      awk 'NR > 1 && $0 !~ /^[0-9]+\.[0-9][0-9][0-9]$/ { exit 1 }' "$ART/beats-$bpm.$ext.txt"
  done
done

# refused FILE: a non-zero exit within 5 s, an ERROR line, nothing on stdout.
refused() {
  local rc=0
  timeout 5 "$PUPPETORIUM_BIN" --beats "$1" >"$ART/refused.out" 2>"$ART/refused.err" || rc=$?
  [ "$rc" -ne 0 ] && [ "$rc" -ne 124 ] && grep -q "^ERROR: music file '$1' not read: " "$ART/refused.err" &&
    [ ! -s "$ART/refused.out" ]
}
mkfifo "$ART/fifo"
mkdir "$ART/folder"
echo "not music at all" >"$ART/text.mp3"
expect "/dev/zero is refused at once" refused /dev/zero
expect "a FIFO with no writer is refused at once" refused "$ART/fifo"
expect "a folder is refused" refused "$ART/folder"
expect "a text file named .mp3 is refused" refused "$ART/text.mp3"
expect "a missing file is refused" refused "$ART/nothing.wav"
echo "PASS: music_beats"
