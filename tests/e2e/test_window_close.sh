#!/usr/bin/env bash
# The window manager's close button (a WM_DELETE_WINDOW client message, sent
# here as a window manager would) asks the quit question when keyframes are
# unsaved and obeys it: Cancel keeps the program and its window, "Quit
# without saving" ends it. With nothing unsaved it ends at once. Unsaved
# keyframes are autosaved: after a kill -9, --recover gives them back
# exactly, and a clean quit removes the autosave.
source "$(dirname "$0")/lib.sh"
e2e_init window_close
WM_CLOSE="$PUPPETORIUM_BUILD/wm_close"
[ -x "$WM_CLOSE" ] || fail "wm_close helper not built"
AUTOSAVE="$XDG_STATE_HOME/puppetorium/autosave.scene"
OUT="$ART/out"; mkdir -p "$OUT"
DATA=$(data_copy)

# ---------------------------------------------------------------- nothing unsaved
start_app "$DATA"
wait_first_frame >/dev/null
"$WM_CLOSE" "$WID"
wait_for_exit 10
expect "with nothing unsaved the close button ends the program (status $APP_STATUS)" test "$APP_STATUS" = 0

# ---------------------------------------------------------------- unsaved: Cancel keeps it all
start_app "$DATA"
wait_first_frame >/dev/null
key x x x F7 Return End x x x x F7
sleep 0.5
"$WM_CLOSE" "$WID"
wait_for_dialog "Quit Puppetorium"
expect "the close button asks and the program waits for the answer" app_alive
xdotool key Escape
for i in $(seq 1 50); do
  [ -z "$(xdotool search --onlyvisible --name '^Quit Puppetorium$' 2>/dev/null || true)" ] && break
  sleep 0.1
done
sleep 1
expect "Cancel keeps the program running" app_alive
expect "and its window" test -n "$(xdotool search --onlyvisible --name '^Puppetorium v1\.0$' 2>/dev/null || true)"

# ---------------------------------------------------------------- the autosave, and a kill -9
for i in $(seq 1 350); do [ -s "$AUTOSAVE" ] && break; sleep 0.1; done
expect "unsaved keyframes are autosaved within 35 s" test -s "$AUTOSAVE"
expect "the autosave holds both keyframes" test "$(grep -c '^anim person\.0\.RUA key ' "$AUTOSAVE")" = 2
cp "$AUTOSAVE" "$ART/autosave-before-kill.scene"
kill -KILL "$APP_PID"
wait "$APP_PID" 2>/dev/null || true
APP_PID=""

start_app "$DATA" --recover
wait_for_log "Recovered the unsaved work of "
wait_first_frame >/dev/null
key ctrl+s
choose_file "Save Scene" "$OUT/recovered"
wait_for_log "Scene has been saved"
grep '^anim .* key ' "$ART/autosave-before-kill.scene" >"$ART/keys-before.txt"
grep '^anim .* key ' "$OUT/recovered.scene" >"$ART/keys-after.txt"
expect "--recover gives back every keyframe exactly" cmp -s "$ART/keys-before.txt" "$ART/keys-after.txt"
expect "and they were there to give back" test "$(grep -c '^anim person\.0\.RUA key ' "$ART/keys-after.txt")" = 2

# ---------------------------------------------------------------- quit without saving
key F7
"$WM_CLOSE" "$WID"
wait_for_dialog "Quit Puppetorium"
# The three buttons share the dialog's bottom row: the middle one.
read -r dw dh < <(xdotool getwindowgeometry "$DLG" | awk '/Geometry/ {split($2, a, "x"); print a[1], a[2]}')
xdotool mousemove --window "$DLG" $((dw / 2)) $((dh - 17)) click 1
wait_for_exit 10
expect "\"Quit without saving\" ends the program (status $APP_STATUS)" test "$APP_STATUS" = 0
expect "a clean quit removes the autosave" test ! -e "$AUTOSAVE"

# ---------------------------------------------------------------- a left-over autosave is announced
mkdir -p "$(dirname "$AUTOSAVE")"
cp "$ART/autosave-before-kill.scene" "$AUTOSAVE"
start_app "$DATA"
wait_for_log "can be recovered: start with --recover"
"$WM_CLOSE" "$WID"
wait_for_exit 10
expect "an untouched program closes at once and keeps the autosave it did not recover" test -e "$AUTOSAVE"
