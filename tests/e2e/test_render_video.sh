#!/usr/bin/env bash
# Renders the sword fight with no X server at all: 100 frames at 1280x720 to
# .mp4, .webm and .gif read back by ffprobe as 100 frames at 25 fps of the
# right codec, and a decoded frame shows the two fencers where the same
# frame rendered to .png shows them. A scene file renders what its key sets
# up, for one cycle by default. Bad requests fail cleanly.
set -euo pipefail
: "${PUPPETORIUM_BIN:?}"; : "${PUPPETORIUM_ROOT:?}"; : "${PUPPETORIUM_BUILD:=$PUPPETORIUM_ROOT/build}"
ART="$PUPPETORIUM_BUILD/e2e-artifacts/render_video"
rm -rf "$ART"; mkdir -p "$ART"
HERE="$(cd "$(dirname "$0")" && pwd)"
cd "$PUPPETORIUM_ROOT"
unset DISPLAY

fail() { echo "FAIL: $*" >&2; echo "FAIL: render_video (artefacts in $ART)"; exit 1; }
expect() { local what="$1"; shift; if "$@"; then echo "ok - $what"; else fail "$what"; fi; }
render() { "$PUPPETORIUM_BIN" --render - "$@" >>"$ART/console.log" 2>>"$ART/progress.log"; }
raw() { ffmpeg -v error -i "$1" ${3:+-vf "select=eq(n\,$3)"} -frames:v 1 -f rawvideo -pix_fmt rgb24 -y "$2"; }
probe() { ffprobe -v error -count_frames -select_streams v:0 \
  -show_entries stream=codec_name,width,height,r_frame_rate,nb_read_frames -of csv=p=0 "$1"; }

# The 51st frame as a picture, and the 81st, when the fencers stand elsewhere.
render --keys 6 --frames 51 --out "$ART/frame51.png"
render --keys 6 --frames 81 --out "$ART/frame81.png"
raw "$ART/frame51.png" "$ART/frame51.rgb"
raw "$ART/frame81.png" "$ART/frame81.rgb"

for kind in mp4:h264 webm:vp9 gif:gif; do
  ext=${kind%%:*}; codec=${kind#*:}
  out="$ART/sword.$ext"
  expect "$ext rendered" render --keys 6 --frames 100 --size 1280x720 --out "$out"
  info=$(probe "$out")
  expect "$ext is 100 frames of $codec at 1280x720, 25 fps (got $info)" \
    test "$info" = "$codec,1280,720,25/1,100"
  raw "$out" "$ART/decoded-$ext.rgb" 50
  expect "$ext frame 50 shows the two fencers of the picture" \
    python3 "$HERE/frame_compare.py" 1280 720 "$ART/frame51.rgb" "$ART/frame81.rgb" "$ART/decoded-$ext.rgb"
  expect "$ext: no temporary left beside it" test -z "$(ls "$ART" | grep "sword.$ext.tmp-" || true)"
done
expect "mp4 is yuv420p" test "$(ffprobe -v error -show_entries stream=pix_fmt -of csv=p=0 "$ART/sword.mp4")" = yuv420p
expect "progress bar ends at 100/100" grep -q '100/100 frames' "$ART/progress.log"

# ---- a scene file is opened whole before the first frame
"$PUPPETORIUM_BIN" --render scenes/swordfight.scene --frames 51 --out "$ART/scene51.png" >>"$ART/console.log" 2>&1
raw "$ART/scene51.png" "$ART/scene51.rgb"
expect "the sword fight's scene file films what its key sets up" cmp -s "$ART/scene51.rgb" "$ART/frame51.rgb"
"$PUPPETORIUM_BIN" --render scenes/boy_and_girl.scene --figure 1 --out "$ART/girl.bvh" >>"$ART/console.log" 2>&1
"$PUPPETORIUM_BIN" --render - --keys 5 --figure 1 --out "$ART/girl-keys.bvh" >>"$ART/console.log" 2>&1
frames_of() { sed -n 's/^Frames: //p' "$1"; }
expect "a scene's default length is its longest cycle ($(frames_of "$ART/girl.bvh") frames)" \
  test "$(frames_of "$ART/girl.bvh")" = "$(frames_of "$ART/girl-keys.bvh")" -a "$(frames_of "$ART/girl.bvh")" -gt 25
expect "the scene's girl moves as the key's does" cmp -s "$ART/girl.bvh" "$ART/girl-keys.bvh"

# ---- refusals: a clear line, a non-zero status, the target untouched
echo keep > "$ART/old.mp4"
set +e
"$PUPPETORIUM_BIN" --render - --out "$ART/x.avi" >"$ART/bad1.log" 2>&1; rc1=$?
"$PUPPETORIUM_BIN" --render "$ART/missing.txt" --out "$ART/y.mp4" >"$ART/bad2.log" 2>&1; rc2=$?
"$PUPPETORIUM_BIN" --render - --out /nonexistent-dir/z.mp4 >"$ART/bad3.log" 2>&1; rc3=$?
"$PUPPETORIUM_BIN" --render animations/superman.txt --out "$ART/old.mp4" --size 0x0 >"$ART/bad4.log" 2>&1; rc4=$?
head -n 40 scenes/swordfight.scene > "$ART/cut.scene"
"$PUPPETORIUM_BIN" --render "$ART/cut.scene" --out "$ART/cut.mp4" >"$ART/bad5.log" 2>&1; rc5=$?
set -e
expect "a cut-short scene file refused" test "$rc5" -ne 0
expect "a cut-short scene file named" grep -q "^ERROR: cannot render '$ART/cut.scene': not a readable scene file" "$ART/bad5.log"
expect "nothing written for a bad scene" test -z "$(ls "$ART" | grep '^cut\.mp4' || true)"
expect "unknown extension refused" test "$rc1" -ne 0
expect "unknown extension named" grep -q "^ERROR: unknown output type" "$ART/bad1.log"
expect "missing input refused" test "$rc2" -ne 0
expect "missing input named" grep -q "^ERROR: cannot render '$ART/missing.txt'" "$ART/bad2.log"
expect "unwritable output refused" test "$rc3" -ne 0
expect "unwritable output named" grep -q "^ERROR: cannot write '/nonexistent-dir/z.mp4'" "$ART/bad3.log"
expect "bad size refused, old file kept" test "$rc4" -ne 0 -a "$(cat "$ART/old.mp4")" = keep
expect "nothing half-written" test ! -e "$ART/y.mp4"
echo "PASS: render_video"
