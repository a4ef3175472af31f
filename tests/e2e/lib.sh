#!/usr/bin/env bash
# lib.sh - shared helpers for end-to-end tests: a private Xvfb, the real
# program started in a data folder, keys and mouse through xdotool,
# screenshots and pixel probes through ImageMagick.
#
# Use:   source "$(dirname "$0")/lib.sh"; e2e_init mytest; start_app; ...
# Every wait is bounded; on failure the screenshots stay in $ART.
set -euo pipefail

: "${PUPPETORIUM_BIN:?PUPPETORIUM_BIN must point at build/puppetorium}"
: "${PUPPETORIUM_ROOT:?PUPPETORIUM_ROOT must point at the repository root}"
: "${PUPPETORIUM_BUILD:=$PUPPETORIUM_ROOT/build}"

APP_PID=""
XVFB_PID=""
WID=""
export GSETTINGS_BACKEND=memory
export NO_AT_BRIDGE=1
: "${SDL_AUDIODRIVER:=dummy}"
export SDL_AUDIODRIVER

# e2e_init NAME [WxH]: artefact folder, private X server, cleanup on exit.
e2e_init() {
  TEST_NAME="$1"
  local screen="${2:-1024x768}"
  ART="$PUPPETORIUM_BUILD/e2e-artifacts/$TEST_NAME"
  rm -rf "$ART"; mkdir -p "$ART"
  LOG="$ART/console.log"
  trap e2e_cleanup EXIT
  local fdfile="$ART/.display"
  Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$fdfile" >"$ART/xvfb.log" 2>&1 &
  XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  [ -s "$fdfile" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$fdfile")"
}

e2e_cleanup() {
  local rc=$?
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
  if [ $rc -eq 0 ]; then echo "PASS: $TEST_NAME"; else echo "FAIL: $TEST_NAME (artefacts in $ART)"; fi
}

fail() {
  echo "FAIL: $*" >&2
  [ -n "${DISPLAY:-}" ] && import -window root "$ART/failure.png" 2>/dev/null || true
  [ -f "${LOG:-/nonexistent}" ] && { echo "--- console:"; tail -n 40 "$LOG"; } >&2
  exit 1
}

# data_copy: a fresh copy of the runtime data in $ART/data (tests that remove files).
data_copy() {
  DATA="$ART/data"
  rm -rf "$DATA"; mkdir -p "$DATA"
  local d
  for d in images animations media instructions.txt; do
    [ -e "$PUPPETORIUM_ROOT/$d" ] && cp -r "$PUPPETORIUM_ROOT/$d" "$DATA/"
  done
  echo "$DATA"
}

# start_app [DIR]: runs the program with DIR (default: repository root) as
# working directory, console to $LOG, and waits for its window.
start_app() {
  local dir="${1:-$PUPPETORIUM_ROOT}"
  ( cd "$dir" && exec stdbuf -oL "$PUPPETORIUM_BIN" ) >"$LOG" 2>&1 &
  APP_PID=$!
  wait_for_window
}

# wait_for_window [TIMEOUT_S]: sets WID to the program's window.
wait_for_window() {
  local timeout="${1:-20}" i
  for i in $(seq 1 $((timeout * 10))); do
    WID=$(xdotool search --name '^Puppetorium v1\.0$' 2>/dev/null | head -n1 || true)
    [ -n "$WID" ] && return 0
    app_alive || fail "program exited before its window appeared"
    sleep 0.1
  done
  fail "no window titled 'Puppetorium v1.0' within ${timeout}s"
}

app_alive() { [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; }

# wait_for_log TEXT [TIMEOUT_S]: waits until the console holds TEXT (fixed string).
wait_for_log() {
  local text="$1" timeout="${2:-15}" i
  for i in $(seq 1 $((timeout * 10))); do
    grep -qF -- "$text" "$LOG" 2>/dev/null && return 0
    sleep 0.1
  done
  fail "console never showed '$text' within ${timeout}s"
}

# wait_for_exit [TIMEOUT_S]: waits for the program to end; sets APP_STATUS.
wait_for_exit() {
  local timeout="${1:-10}" i
  for i in $(seq 1 $((timeout * 10))); do
    if ! app_alive; then
      set +e; wait "$APP_PID"; APP_STATUS=$?; set -e
      APP_PID=""
      return 0
    fi
    sleep 0.1
  done
  fail "program still running after ${timeout}s"
}

focus() { xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"; }

# key KEYSYM...: one key press (down and up) each, e.g. key F7 comma space.
key() { focus; local k; for k in "$@"; do xdotool key --clearmodifiers "$k"; sleep 0.05; done; }
key_down() { focus; xdotool keydown "$1"; }
key_up() { focus; xdotool keyup "$1"; }

# type_text TEXT: types into the focused window (file choosers).
type_text() { xdotool type --delay 40 "$1"; }

# Window-relative mouse: mouse_move X Y, drag BUTTON X0 Y0 X1 Y1 [STEPS].
mouse_move() { xdotool mousemove --window "$WID" "$1" "$2"; }
drag() {
  local b="$1" x0="$2" y0="$3" x1="$4" y1="$5" steps="${6:-10}" i
  mouse_move "$x0" "$y0"; sleep 0.1
  xdotool mousedown "$b"; sleep 0.1
  for i in $(seq 1 "$steps"); do
    mouse_move $((x0 + (x1 - x0) * i / steps)) $((y0 + (y1 - y0) * i / steps))
    sleep 0.03
  done
  xdotool mouseup "$b"; sleep 0.1
}

# shot NAME: screenshot of the program window into $ART/NAME.png; prints the path.
shot() {
  local f="$ART/$1.png"
  import -window "$WID" "$f" 2>/dev/null || import -window root "$f"
  echo "$f"
}

# window_size: prints "W H" of the program window.
window_size() { xdotool getwindowgeometry "$WID" | awk '/Geometry/ {split($2, a, "x"); print a[1], a[2]}'; }

# pixel FILE X Y: prints "R G B" (0-255).
pixel() {
  convert "$1" -format '%[fx:int(255*p{'"$2"','"$3"'}.r+0.5)] %[fx:int(255*p{'"$2"','"$3"'}.g+0.5)] %[fx:int(255*p{'"$2"','"$3"'}.b+0.5)]' info:
}

# region_mean FILE W H X Y: mean "R G B" (0-255) of a rectangle.
region_mean() {
  convert "$1" -crop "${2}x${3}+${4}+${5}" +repage -format '%[fx:int(255*mean.r+0.5)] %[fx:int(255*mean.g+0.5)] %[fx:int(255*mean.b+0.5)]' info:
}

# region_stddev FILE W H X Y: standard deviation (0-255) of a rectangle; 0 for a flat area.
region_stddev() {
  convert "$1" -crop "${2}x${3}+${4}+${5}" +repage -colorspace gray -format '%[fx:int(255*standard_deviation+0.5)]' info:
}

# images_differ A B: true when two screenshots differ in more than a few pixels.
images_differ() {
  local n
  n=$(compare -metric AE -fuzz 5% "$1" "$2" null: 2>&1 || true)
  n=${n%% *}
  [ "${n%.*}" -gt 50 ] 2>/dev/null
}

# expect COND_DESCRIPTION CMD...: runs CMD; fails the test with the description when false.
expect() {
  local what="$1"; shift
  if "$@"; then echo "ok - $what"; else fail "$what"; fi
}

# ---------------------------------------------------------------- sound
# SDL's disk driver writes what would reach the speaker to a file of raw
# samples (44.1 kHz, 16-bit little-endian, stereo) at the pace of a real
# device, so byte offsets are moments in time.

# audio_capture FILE: programs started from now on write their sound to FILE.
audio_capture() { export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$1"; }

# audio_seconds S: prints the byte count of S seconds of sound.
audio_seconds() { awk -v s="$1" 'BEGIN { print int(s * 44100 * 4) }'; }

# audio_bytes FILE: bytes of sound written so far (0 when there is no file).
audio_bytes() { stat -c %s "$1" 2>/dev/null || echo 0; }

# wait_audio FILE SECONDS: waits until FILE holds SECONDS more sound than now.
wait_audio() {
  local want i
  want=$(( $(audio_bytes "$1") + $(audio_seconds "$2") ))
  for i in $(seq 1 200); do
    [ "$(audio_bytes "$1")" -ge "$want" ] && return 0
    sleep 0.1
  done
  fail "the sound device stopped writing $1"
}

# audio_rms FILE FROM TO: RMS amplitude (0 to 1) of the sound between two
# byte offsets (rounded down to whole frames).
audio_rms() {
  local from=$(( $2 / 4 * 4 )) to=$(( $3 / 4 * 4 ))
  [ "$to" -gt "$from" ] || fail "empty sound window $2..$3 of $1"
  dd if="$1" iflag=skip_bytes,count_bytes skip="$from" count=$((to - from)) bs=64K status=none |
    sox -t raw -r 44100 -e signed -b 16 -c 2 -L - -n stat 2>&1 | awk '/RMS +amplitude/ { print $3 }'
}

# is_loud RMS / is_quiet RMS: music playing / nothing but digital silence.
is_loud() { awk -v r="$1" 'BEGIN { exit !(r > 0.02) }'; }
is_quiet() { awk -v r="$1" 'BEGIN { exit !(r < 0.0005) }'; }

# ---------------------------------------------------------------- file choosers

# wait_for_dialog TITLE [TIMEOUT_S]: waits for a top-level window titled
# exactly TITLE (a file chooser), focuses it and sets DLG to it.
wait_for_dialog() {
  local title="$1" timeout="${2:-15}" i
  DLG=""
  for i in $(seq 1 $((timeout * 10))); do
    DLG=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n1 || true)
    [ -n "$DLG" ] && break
    app_alive || fail "program exited while waiting for the '$title' dialog"
    sleep 0.1
  done
  [ -n "$DLG" ] || fail "no '$title' dialog within ${timeout}s"
  sleep 0.5  # let the chooser finish building its view before typing
  xdotool windowfocus --sync "$DLG" 2>/dev/null || xdotool windowfocus "$DLG"
}

# choose_file TITLE PATH: types an absolute PATH into the chooser TITLE and confirms.
choose_file() {
  wait_for_dialog "$1"
  type_text "$2"
  sleep 0.3
  xdotool key Return
}

# cancel_dialog TITLE: closes the chooser TITLE with Escape.
cancel_dialog() {
  wait_for_dialog "$1"
  xdotool key Escape
}

# ---------------------------------------------------------------- screenshots

# region_share FILE W H X Y FX: share (0-100) of the pixels in a rectangle for
# which the ImageMagick fx test FX holds, with r, g, b from 0 to 1; e.g.
# 'r>0.98&&g>0.98&&b>0.98' for white.
region_share() {
  convert "$1" -crop "${2}x${3}+${4}+${5}" +repage -alpha off -fx "($6)?1:0" \
    -format '%[fx:int(100*mean.r+0.5)]' info:
}

# region_changed A B W H X Y [FUZZ%]: number of pixels of a rectangle that
# differ by more than FUZZ% (default 10) between two screenshots.
region_changed() {
  local n a="$ART/.crop_a.png" b="$ART/.crop_b.png"
  convert "$1" -crop "${3}x${4}+${5}+${6}" +repage "$a"
  convert "$2" -crop "${3}x${4}+${5}+${6}" +repage "$b"
  n=$(compare -metric AE -fuzz "${7:-10}%" "$a" "$b" null: 2>&1 || true)
  rm -f "$a" "$b"
  n=${n%% *}
  echo "${n%.*}"
}

# ---------------------------------------------------------------- pop-up menus
# freeglut draws each pop-up as its own window titled "freeglut menu", entries
# 25 pixels high inside a 2-pixel border, opened at the pointer.

MENU_ENTRY_H=25

# visible_menus: ids of the pop-up menu windows now shown.
visible_menus() { xdotool search --onlyvisible --name '^freeglut menu$' 2>/dev/null || true; }

# menu_open X Y: right-clicks at window-relative X Y and waits for the main
# menu; sets MENU to its window.
menu_open() {
  focus
  mouse_move "$1" "$2"; sleep 0.2
  xdotool click 3
  MENU=$(wait_for_new_menu "")
}

# wait_for_new_menu KNOWN: waits for a shown menu window not in KNOWN; prints it.
wait_for_new_menu() {
  local known="$1" i w
  for i in $(seq 1 50); do
    for w in $(visible_menus); do
      case " $known " in *" $w "*) ;; *) echo "$w"; return 0 ;; esac
    done
    sleep 0.1
  done
  fail "no pop-up menu appeared"
}

# menu_point MENU I: screen "X Y" of the middle of entry I (from 0) of MENU.
menu_point() {
  local X Y WIDTH HEIGHT WINDOW SCREEN
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "$((X + WIDTH / 3)) $((Y + 2 + MENU_ENTRY_H * $2 + MENU_ENTRY_H / 2))"
}

# menu_submenu MENU I: hovers entry I of MENU (a sub-menu) and waits for the
# sub-menu; sets MENU to it.
menu_submenu() {
  local known; known=$(visible_menus | tr '\n' ' ')
  xdotool mousemove $(menu_point "$1" "$2"); sleep 0.3
  MENU=$(wait_for_new_menu "$known")
}

# menu_choose MENU I: clicks entry I of MENU.
menu_choose() {
  xdotool mousemove $(menu_point "$1" "$2"); sleep 0.3
  xdotool click 1; sleep 0.3
}
