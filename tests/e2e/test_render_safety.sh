#!/usr/bin/env bash
# A render run by a hostile or unlucky hand: keys that would open a dialog
# are refused; a link another user planted under the output's name, in a
# sticky or a plain world-writable folder, is never written through; Ctrl+C,
# SIGTERM and SIGHUP half-way leave no temporary; a scene whose keys last a
# million steps makes a film of at most a million frames, and says so.
set -euo pipefail
: "${PUPPETORIUM_BIN:?}"; : "${PUPPETORIUM_ROOT:?}"; : "${PUPPETORIUM_BUILD:=$PUPPETORIUM_ROOT/build}"
ART="$PUPPETORIUM_BUILD/e2e-artifacts/render_safety"
rm -rf "$ART"; mkdir -p "$ART"
cd "$PUPPETORIUM_ROOT"
unset DISPLAY
SHARED=""
cleanup() { [ -n "$SHARED" ] && rm -rf "$SHARED"; }
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; echo "FAIL: render_safety (artefacts in $ART)"; exit 1; }
expect() { local what="$1"; shift; if "$@"; then echo "ok - $what"; else fail "$what"; fi; }
no_temporaries() { [ -z "$(find "$1" -name '*.tmp-*' 2>/dev/null)" ]; }

# ---------------------------------------------------------------- keys that open dialogs
for k in $'\x13' $'\x0f'; do
  set +e
  timeout 20 "$PUPPETORIUM_BIN" --render - --keys "6$k" --frames 2 --out "$ART/keys.mp4" >"$ART/keys.log" 2>&1
  rc=$?
  set -e
  expect "--keys with Ctrl+S or Ctrl+O is refused at once (exit $rc)" test "$rc" = 2
  expect "and says why" grep -q '^ERROR: --keys cannot press Ctrl+S or Ctrl+O' "$ART/keys.log"
done
expect "nothing was written" test ! -e "$ART/keys.mp4"

# ---------------------------------------------------------------- links planted by another user
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null && id nobody >/dev/null 2>&1; then
  SHARED=$(mktemp -d /tmp/puppetorium-links.XXXXXX)
  chmod 755 "$SHARED"
  mkdir -m 1777 "$SHARED/sticky"
  mkdir -m 0777 "$SHARED/open"
  mkdir -m 0700 "$SHARED/victim"
  echo "the victim's notes" >"$SHARED/victim/notes.txt"
  as_nobody() { setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$@"; }
  for folder in sticky open; do
    as_nobody ln -s "$SHARED/victim/notes.txt" "$SHARED/$folder/film.mp4"
    set +e
    "$PUPPETORIUM_BIN" --render - --frames 2 --size 64x64 --out "$SHARED/$folder/film.mp4" \
      >"$ART/link-$folder.log" 2>&1
    rc=$?
    set -e
    expect "$folder folder: the render refuses the planted link (exit $rc)" test "$rc" = 1
    expect "$folder folder: and says it is another user's link" \
      grep -q "film.mp4': is a link made by another user, not followed" "$ART/link-$folder.log"
    expect "$folder folder: the victim's file is untouched" \
      test "$(cat "$SHARED/victim/notes.txt")" = "the victim's notes"
    expect "$folder folder: the link is still a link" test -L "$SHARED/$folder/film.mp4"
    expect "$folder folder: no temporary left" no_temporaries "$SHARED/$folder"
  done
  # A link of one's own is still written through.
  echo "old" >"$ART/own-target.png"
  ln -s "$ART/own-target.png" "$ART/own-link.png"
  "$PUPPETORIUM_BIN" --render - --frames 1 --size 64x64 --out "$ART/own-link.png" >>"$ART/console.log" 2>&1
  expect "one's own link is written through" test "$(head -c 4 "$ART/own-target.png" | tail -c 3)" = PNG -a -L "$ART/own-link.png"
else
  echo "skip - planted links need root, setpriv and the user nobody"
fi

# ---------------------------------------------------------------- a million steps, interrupted
# One keyframe of a million steps beside the others: more than a million frames uncapped.
awk '/^anim person\.0\.HEAD key / && !done { $NF = 1000000; done = 1 } { print }' \
  "$PUPPETORIUM_ROOT/scenes/superman.scene" >"$ART/long.scene"
grep -q ' 1000000$' "$ART/long.scene" || fail "the long scene was not made"

# Bash starts background jobs with SIGINT ignored; the wrapper puts it back
# (exec: the background job's pid is then the render's own).
with_default_signals() {
  exec python3 -c 'import os, signal, sys
for s in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP): signal.signal(s, signal.SIG_DFL)
os.execv(sys.argv[1], sys.argv[1:])' "$@"
}
for sig in INT TERM HUP; do
  out="$ART/long-$sig.mp4"
  with_default_signals "$PUPPETORIUM_BIN" --render "$ART/long.scene" --size 320x240 --out "$out" \
    >"$ART/long-$sig.log" 2>"$ART/long-$sig.progress" &
  pid=$!
  for i in $(seq 1 200); do
    tmp=$(find "$ART" -name "long-$sig.mp4.tmp-*" -size +1k 2>/dev/null | head -n1)
    [ -n "$tmp" ] && grep -q "/1000000 frames" "$ART/long-$sig.progress" && break
    sleep 0.1
  done
  [ -n "$tmp" ] || { kill -KILL "$pid" 2>/dev/null || true; fail "SIG$sig: no temporary, or no film of a million frames"; }
  kill -"$sig" "$pid"
  set +e; wait "$pid"; rc=$?; set -e
  expect "SIG$sig ends the render by that signal (status $rc)" test "$rc" = $((128 + $(kill -l "$sig")))
  expect "SIG$sig leaves no temporary" test ! -e "$tmp"
  expect "SIG$sig leaves no output" test ! -e "$out"
done
expect "the cap is said on the console" \
  grep -q '^WARNING: the animation runs longer than 1000000 frames; the film stops there' "$ART/long-INT.log"
echo "PASS: render_safety"
