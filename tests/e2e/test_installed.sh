#!/usr/bin/env bash
# Installed like other programs: `cmake --install` puts the program, its data,
# a desktop entry and an icon in their places; run from an empty folder the
# installed program films the sword fight exactly as the build does from the
# repository root, with nothing but the progress bar on the console, and
# opens its window textured. --help, --version and a bad option behave. The
# mp4 names its colours completely. File choosers typed into the moment they
# open leave no toolkit assertion on the console.
source "$(dirname "$0")/lib.sh"
e2e_init installed

PREFIX="$ART/prefix"
cmake --install "$PUPPETORIUM_BUILD" --prefix "$PREFIX" >"$ART/install.log" 2>&1 || fail "cmake --install failed"
BIN="$PREFIX/bin/puppetorium"
for f in bin/puppetorium share/puppetorium/instructions.txt share/puppetorium/images/floor_wooden.bmp \
         share/puppetorium/animations/2_swordfight1.txt share/puppetorium/media/intro.mp3 \
         share/puppetorium/scenes/swordfight.scene share/applications/puppetorium.desktop \
         share/icons/hicolor/scalable/apps/puppetorium.svg; do
  expect "installed: $f" test -f "$PREFIX/$f"
done
expect "the desktop entry starts the installed name" grep -qx 'Exec=puppetorium %f' "$PREFIX/share/applications/puppetorium.desktop"

EMPTY="$ART/empty"; mkdir -p "$EMPTY"
cd "$EMPTY"

# ---- the command line
"$BIN" --version >"$ART/version.txt"
expect "--version names the version and the commit" grep -qE '^Puppetorium 1\.0 \(commit [0-9a-f]{7,}' "$ART/version.txt"
"$BIN" --help >"$ART/help.txt"
expect "--help lists every option" test "$(grep -cE '^  --?[a-z]' "$ART/help.txt")" -ge 12
set +e
"$BIN" --colour red >"$ART/bad.txt" 2>&1; rc=$?
set -e
expect "an unknown option exits 2 (got $rc)" test "$rc" = 2
expect "with one line naming it" test "$(cat "$ART/bad.txt")" = \
  "ERROR: unknown option '--colour' (puppetorium --help lists the options)"

# ---- films from an empty folder equal the build's from the repository root
film() {  # film DIR PROGRAM OUT: the sword fight, console to OUT.out and OUT.err
  ( cd "$1" && "$2" --render - --keys 6 --frames 30 --size 320x180 --out "$3" >"$3.out" 2>"$3.err" )
}
film "$EMPTY" "$BIN" "$ART/installed.mp4"
film "$PUPPETORIUM_ROOT" "$PUPPETORIUM_BIN" "$ART/root.mp4"
film "$EMPTY" "$BIN" "$ART/installed.png"
film "$PUPPETORIUM_ROOT" "$PUPPETORIUM_BIN" "$ART/root.png"
expect "the installed program's film is the build's" cmp -s "$ART/installed.mp4" "$ART/root.mp4"
expect "and so is its picture" cmp -s "$ART/installed.png" "$ART/root.png"
expect "a film prints nothing on standard output" test ! -s "$ART/installed.mp4.out"
expect "and only the progress bar on standard error" \
  test "$(tr '\r' '\n' <"$ART/installed.mp4.err" | grep -v '^$' | grep -vc '^\[[#-]*\] *[0-9]*/30 frames')" = 0
( cd "$EMPTY" && "$BIN" --render - --keys 6 --frames 2 --size 320x180 --out "$ART/v.png" --verbose >"$ART/verbose.out" 2>/dev/null )
expect "--verbose shows the load's lines" grep -q '^  partLabel=HEAD set$' "$ART/verbose.out"
expect "nothing was written in the working folder" test -z "$(ls -A "$EMPTY")"

colours=$(ffprobe -v error -select_streams v:0 -show_entries stream=color_range,color_space,color_transfer,color_primaries \
  -of csv=p=0 "$ART/installed.mp4")
expect "the mp4 names range, matrix, transfer and primaries as BT.601 (got $colours)" \
  test "$colours" = "tv,smpte170m,smpte170m,smpte170m"

# ---- the window from the empty folder, and choosers typed into at once
cp "$PUPPETORIUM_ROOT/animations/1_boy.txt" "$ART/boy.txt"
PUPPETORIUM_BIN="$BIN" start_app "$EMPTY" -display "$DISPLAY"
sleep 1
expect "no data file went missing" test -z "$(grep -E "could not be opened|not found" "$LOG" || true)"
expect "the textures loaded from the installed data" grep -qF ">> Loaded texture '$(cd "$PREFIX/share/puppetorium" && pwd -P)/images/floor_wooden.bmp'" "$LOG"
img=$(shot window)
read -r r g b <<<"$(region_mean "$img" 100 40 300 440)"
expect "the stage floor is wood, not bare grey ($r $g $b)" test $((r - b)) -gt 30
for round in "F5 $ART/boy.txt" "F5 $ART/boy.txt" "F6 $ART/saved"; do
  set -- $round
  key "$1"
  DLG=""
  for i in $(seq 1 300); do
    DLG=$(xdotool search --onlyvisible --name '^(Open|Save) Animation$' 2>/dev/null | head -n1 || true)
    [ -n "$DLG" ] && break
    sleep 0.01
  done
  [ -n "$DLG" ] || fail "no chooser after $1"
  xdotool windowfocus "$DLG"
  type_text "$2"; sleep 0.3; xdotool key Return
  wait_for_log "Open file name: $2" 15
  sleep 0.5
done
wait_for_log "Animation has been saved"
expect "the save went where it was typed" test -f "$ART/saved.txt"
expect "_CODE_OUTPUT.txt is written in the working folder" test -f "$EMPTY/_CODE_OUTPUT.txt"
expect "no toolkit assertion or warning on the console" test -z "$(grep -E -- '-(CRITICAL|WARNING) \*\*' "$LOG" || true)"
