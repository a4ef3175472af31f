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
APP_T0=""   # just before the program was started
APP_UP=""   # when its window was seen: its clock was running by then
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
  # The autosave of each test stays in its own folder.
  export XDG_STATE_HOME="$ART/state"
  trap e2e_cleanup EXIT
  local fdfile="$ART/.display"
  Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp -noreset 3>"$fdfile" >"$ART/xvfb.log" 2>&1 &
  XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  [ -s "$fdfile" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$fdfile")"
  # Hand the display on only once it answers a client.
  for i in $(seq 1 100); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "Xvfb $DISPLAY does not answer"
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
  # A server gone from under a test is the machine's trouble, not the program's.
  [ -n "$XVFB_PID" ] && ! kill -0 "$XVFB_PID" 2>/dev/null &&
    echo "NOTE: the X server ${DISPLAY:-} (pid $XVFB_PID) is no longer running" >&2
  [ -n "${DISPLAY:-}" ] && import -window root "$ART/failure.png" 2>/dev/null || true
  [ -f "${LOG:-/nonexistent}" ] && { echo "--- console:"; tail -n 40 "$LOG"; } >&2
  exit 1
}

# data_copy: a fresh copy of the runtime data in $ART/data (tests that remove files).
data_copy() {
  DATA="$ART/data"
  rm -rf "$DATA"; mkdir -p "$DATA"
  local d
  for d in images animations media scenes instructions.txt; do
    [ -e "$PUPPETORIUM_ROOT/$d" ] && cp -r "$PUPPETORIUM_ROOT/$d" "$DATA/"
  done
  echo "$DATA"
}

# start_app [DIR [ARGS...]]: runs the program with DIR (default: repository
# root) as working directory and ARGS on its command line, console to $LOG,
# and waits for its window.
start_app() {
  local dir="${1:-$PUPPETORIUM_ROOT}" i
  shift || true
  # The server must answer before the program connects (a second run in the
  # same test comes right after the first one's client went away).
  for i in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  APP_T0=$(date +%s.%N)
  ( cd "$dir" && exec stdbuf -oL "$PUPPETORIUM_BIN" "$@" ) >"$LOG" 2>&1 &
  APP_PID=$!
  wait_for_window
}

# wait_for_window [TIMEOUT_S]: sets WID to the program's window once it is
# mapped and its size has settled (the same on two looks in a row), so a
# busy machine cannot hand a test a window that is still being set up.
# Sets APP_UP: the program's clock had started by then.
wait_for_window() {
  local timeout="${1:-20}" i geo prev=""
  for i in $(seq 1 $((timeout * 10))); do
    WID=$(xdotool search --onlyvisible --name '^Puppetorium v1\.0$' 2>/dev/null | head -n1 || true)
    if [ -n "$WID" ]; then
      geo=$(xdotool getwindowgeometry "$WID" 2>/dev/null | awk '/Geometry/ {print $2}' || true)
      if [ -n "$geo" ] && [ "$geo" = "$prev" ]; then
        APP_UP=$(date +%s.%N)
        return 0
      fi
      prev=$geo
    fi
    app_alive || fail "program exited before its window appeared"
    sleep 0.1
  done
  fail "no mapped window titled 'Puppetorium v1.0' within ${timeout}s"
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

# choose_file TITLE PATH: types an absolute PATH into the chooser TITLE and
# confirms. The leading "/" makes the open chooser build its location entry,
# which on a busy machine can swallow the keys typed while it appears: the
# rest of the path is typed only once the dialog shows the change.
choose_file() {
  local before="$ART/.dialog_before.png" now="$ART/.dialog_now.png" i
  wait_for_dialog "$1"
  import -window "$DLG" "$before" 2>/dev/null || true
  type_text "${2:0:1}"
  for i in $(seq 1 50); do
    import -window "$DLG" "$now" 2>/dev/null || true
    [ "$(compare -metric AE "$before" "$now" null: 2>&1 || true)" != 0 ] && break
    sleep 0.1
  done
  sleep 0.3
  type_text "${2:1}"
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

# ---------------------------------------------------------------- journeys
# For tests that follow a person through a whole session. Nothing assumes
# how fast the machine is: waits poll the screen or the console, each with a
# bound, and pixel probes look at regions only what is being checked can touch.
# Regions are those of the 700 x 500 window.

# ---- the program's clock, screenshots, polling

# The program's clock (GLUT's elapsed time) started after APP_T0 and before
# APP_UP, which bound it from both sides.
_now() { date +%s.%N; }
app_time_min() { awk -v a="$APP_UP" -v b="$(_now)" 'BEGIN { printf "%.2f\n", b - a }'; }
app_time_max() { awk -v a="$APP_T0" -v b="$(_now)" 'BEGIN { printf "%.2f\n", b - a }'; }

# wait_app_time S: returns once the program has surely run S seconds.
wait_app_time() {
  sleep "$(awk -v s="$1" -v t="$(app_time_min)" 'BEGIN { d = s - t; print (d > 0 ? d : 0) }')"
}

# snap NAME: as shot, with light PNG compression: a quarter of the
# processor time on a busy machine, still lossless. The helpers below take
# their screenshots with it.
snap() {
  local f="$ART/$1.png"
  import -window "$WID" -quality 10 "$f" 2>/dev/null || import -window root -quality 10 "$f"
  echo "$f"
}

# keys KEYSYM...: a run of key presses through one xdotool call (quicker than
# key on a busy machine; the program gets them in order all the same).
keys() { focus; xdotool key --clearmodifiers --delay 30 "$@"; }

# poll_shot NAME TIMEOUT_S CHECK [ARGS...]: takes screenshot NAME until
# "CHECK ARGS... FILE" holds and prints the file; returns 1 when TIMEOUT_S
# pass first (the last screenshot stays for a person to look at).
poll_shot() {
  local name="$1" timeout="$2" f end
  shift 2
  end=$(( $(date +%s) + timeout ))
  while :; do
    f=$(snap "$name")
    if "$@" "$f"; then echo "$f"; return 0; fi
    [ "$(date +%s)" -lt "$end" ] && app_alive || return 1
    sleep 0.2    # leave the program the processor it needs to get there
  done
}

# poll_root FILE TIMEOUT_S CHECK [ARGS...]: as poll_shot, for the whole screen.
poll_root() {
  local f="$1" timeout="$2" end
  shift 2
  end=$(( $(date +%s) + timeout ))
  while :; do
    import -window root "$f"
    "$@" "$f" && return 0
    [ "$(date +%s)" -lt "$end" ] || return 1
    sleep 0.2
  done
}

# ---- the stage, the intro and the figure

# scene_drawn FILE: a wooden floor (brown and grained) fills the rows just
# above the messages and the timeline strip (whose waveform is not wood).
scene_drawn() {
  local r g b
  read -r r g b <<<"$(region_mean "$1" 680 40 10 372)"
  [ "$r" -gt "$g" ] && [ "$g" -gt "$b" ] && [ $((r - b)) -ge 25 ] &&
    [ "$(region_stddev "$1" 680 40 10 372)" -ge 4 ]
}

# wait_first_frame: waits until the first scene is on the screen; prints the shot.
wait_first_frame() {
  poll_shot first_frame 30 scene_drawn || fail "the stage was not drawn within 30s"
}

# logo_pixels FILE: how much of the intro logo's curtain red the window
# shows (pixels of an eighth-size copy; a figure's tie alone gives one or two).
logo_pixels() {
  convert "$1" -sample 12.5% -alpha off -fx '(r>0.15&&r>2*g&&r>2*b)?1:0' \
    -format '%[fx:int(mean.r*w*h+0.5)]' info:
}

# wait_intro_over: returns once the intro can no longer change the picture:
# the help hint has gone (after 10 seconds) and the logo has been seen and
# has sunk out of sight (two looks in a row), or the program has surely run
# past the 20 seconds the logo is drawn at most. Call it in the start view
# at play rate 1. Lines (wireframe) show the sunken logo and a negative play
# rate raises it again until those 20 seconds are over: wait_app_time 20.5
# before either.
wait_intro_over() {
  local seen=0 clear=0 n
  while awk -v t="$(app_time_min)" 'BEGIN { exit !(t < 20.5) }'; do
    n=$(logo_pixels "$(snap intro)")
    if [ "$n" -ge 15 ]; then
      seen=1; clear=0
    elif [ "$seen" = 1 ] && [ "$n" -le 5 ]; then
      clear=$((clear + 1))
      [ "$clear" -ge 2 ] && { wait_app_time 10.5; return 0; }
    else
      clear=0
    fi
    app_alive || fail "program ended during the intro"
    sleep 0.4    # the logo takes seconds to cross the stage
  done
}

# figure_x FILE: "X N": the horizontal centre (pixels) of the dark suits
# below the sky line and how many pixels they cover ("0 0" for none).
# Rows 250 to 419 only: above lie the head-up text's dark panels, from row
# 420 down the on-screen messages and the timeline strip, dark too.
figure_x() {
  convert "$1" -crop 700x170+0+250 +repage -colorspace gray -threshold 18% -negate \
    -scale 700x1! -depth 16 txt:- |
    awk -F'[(),]' 'NR > 1 { v = $4 + 0; s += v; sx += v * $1 }
                   END { if (s > 0) printf "%d %d\n", sx / s, s / 65535 * 170; else print "0 0" }'
}

# figure_within X0 X1 FILE: a suit of at least 2000 pixels centred between X0 and X1.
figure_within() {
  local x n
  read -r x n <<<"$(figure_x "$3")"
  [ "$n" -ge 2000 ] && [ "$x" -ge "$1" ] && [ "$x" -le "$2" ]
}

# ---- watching the stage below the head-up text (whose fps figure changes)
# Rows 130 to 415, less the head-up text's column down to row 195 (its
# figure, part and angle lines change with the pose): below row 415 the
# messages and the timeline strip change on their own.
STAGE_BANDS=("460x285+240+130" "240x220+0+195")

# band_changed A B: pixels of the stage band that differ by over BAND_FUZZ
# (default 10) per cent between two screenshots.
band_changed() {
  local n total=0 band
  for band in "${STAGE_BANDS[@]}"; do
    n=$(compare -metric AE -fuzz "${BAND_FUZZ:-10}%" "$1[$band]" "$2[$band]" null: 2>&1 || true)
    total=$((total + ${n%% *}))
  done
  echo "$total"
}
# differs_from REF MIN FILE: at least MIN pixels of the band changed since REF.
differs_from() { [ "$(band_changed "$1" "$3")" -ge "$2" ]; }
# same_as REF FILE: at most 80 pixels of the band differ from REF (edge and shading noise
# under the moving light).
same_as() { [ "$(band_changed "$1" "$2")" -le 80 ]; }

# rests NAME TIMEOUT_S [CHECK ARGS...]: screenshots NAME until two in a row
# show the same band (at most REST_PIXELS, default 40, differ) and the last
# passes "CHECK ARGS... FILE"; prints it.
rests() {
  local name="$1" timeout="$2" prev="" f end
  shift 2
  end=$(( $(date +%s) + timeout ))
  while :; do
    f=$(snap "$name")
    if [ -n "$prev" ] && [ "$(band_changed "$prev" "$f")" -le "${REST_PIXELS:-40}" ] &&
       { [ $# = 0 ] || "$@" "$f"; }; then
      echo "$f"; return 0
    fi
    prev="$ART/.rests.png"; cp "$f" "$prev"
    [ "$(date +%s)" -lt "$end" ] && app_alive || return 1
    sleep 0.2
  done
}

# hold_until NAME TIMEOUT_S "KEYS" CHECK [ARGS...]: holds KEYS down (in that
# order) a quarter of a second at a time, as someone watching the screen
# would, until screenshot NAME passes "CHECK ARGS... FILE"; prints a
# screenshot taken once the stage has come to rest. Short holds keep a slow
# screenshot from letting the figure run far past the mark.
hold_until() {
  local name="$1" timeout="$2" ks="$3" k up="" end
  shift 3
  for k in $ks; do up="$k $up"; done
  end=$(( $(date +%s) + timeout ))
  focus
  while :; do
    xdotool keydown $ks sleep 0.25 keyup $up
    "$@" "$(snap "$name")" && break
    [ "$(date +%s)" -lt "$end" ] && app_alive || fail "holding $ks did not bring about '$*' ($name)"
  done
  rests "$name" 10 || fail "the stage did not come to rest after $ks was released"
}

# ---- pictures

# same_picture A B: two pictures of the same size with no pixel different
# (compare reports an error, not 0, for pictures of different sizes).
same_picture() {
  local n
  n=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
  [ "$n" = 0 ]
}
pictures_differ() { ! same_picture "$1" "$2"; }

# dark_share FILE W H X Y [LEVEL%]: share (0-100) of a rectangle darker than
# LEVEL (default 5%) in grey; quick enough for the whole window, unlike an
# -fx test.
dark_share() {
  convert "$1" -crop "${2}x${3}+${4}+${5}" +repage -alpha off -colorspace gray \
    -threshold "${6:-5}%" -negate -format '%[fx:int(100*mean.r+0.5)]' info:
}

# ---- head-up text: light grey bitmap letters at the top left (drawn white,
# lit as the scene is: #C0C0C0 under the start lights; help text the same).
# Text stands on a dark see-through panel: over the white sky the panel is a
# neutral dark grey (TEXT_GREY, with the letters as holes in it); the
# letters themselves are white (TEXT_WHITE, for text over the floor or the
# help screen's black).
TEXT_GREY='abs(r-g)<0.03&&abs(g-b)<0.03&&r>0.15&&r<0.45'
TEXT_WHITE='r>0.93&&g>0.93&&b>0.93'
HUD_VALUE_X=112          # the value column ("CAM_FOCUS_ON_POINT", fps, play rate)
# hud_row_y N: top pixel row of HUD line N (1 view mode ... 6 play rate).
hud_row_y() { echo $(( 20 + ($1 - 1) * 176 / 10 )); }

# text_mask FILE W H X Y OUT: the text-grey pixels of a rectangle as a
# black and white picture trimmed to the letters, so that the same text
# drawn on different lines gives the same picture; prints the letter pixels.
text_mask() {
  convert "$1" -crop "${2}x${3}+${4}+${5}" +repage -alpha off \
    -fx "($TEXT_GREY)?1:0" "$6.full.png"
  convert "$6.full.png" -bordercolor black -border 1 -trim +repage "$6"
  convert "$6.full.png" -format '%[fx:int(mean.r*w*h+0.5)]' info:
  rm -f "$6.full.png"
}

# hud_value FILE N OUT: text_mask of the value of HUD line N (70 pixels wide,
# clear of the logo, which never comes left of x = 190).
hud_value() { text_mask "$1" 70 17 "$HUD_VALUE_X" "$(hud_row_y "$2")" "$3"; }

# ---- the right-button menu (helpers above): where the arithmetic puts an
# entry, the screen must show it lit under the pointer.

# menu_lit MENU I NAME: points at entry I of MENU and checks on a screenshot
# of the whole screen (NAME, kept) that this entry, and not the one next to
# it, is lit.
menu_lit() {
  local x y top
  read -r x y < <(menu_point "$1" "$2")
  top=$((y - MENU_ENTRY_H / 2))
  xdotool mousemove "$x" "$y"
  sleep 0.3
  poll_root "$ART/$3.png" 5 _entry_lit "$1" "$top" ||
    fail "menu entry $2 did not light up under the pointer ($3)"
}

# _entry_lit MENU TOP FILE: the entry row from TOP is white, its neighbour is not.
_entry_lit() {
  local X Y WIDTH HEIGHT WINDOW SCREEN other white='r>0.98&&g>0.98&&b>0.98'
  eval "$(xdotool getwindowgeometry --shell "$1")"
  other=$(( $2 > Y + 2 ? $2 - MENU_ENTRY_H : $2 + MENU_ENTRY_H ))
  [ "$(region_share "$3" $((WIDTH - 8)) $((MENU_ENTRY_H - 6)) $((X + 4)) $(($2 + 3)) "$white")" -ge 50 ] &&
    [ "$(region_share "$3" $((WIDTH - 8)) $((MENU_ENTRY_H - 6)) $((X + 4)) $((other + 3)) "$white")" -le 5 ]
}

# ---- what is heard, compared with a music file: loudness envelopes, one
# RMS value per 20 ms of sound, matched by correlation over a range of delays.

# _envelope: the envelope of the 8 kHz mono text samples on stdin.
_envelope() { awk '!/^;/ { s += $2 * $2; n++; if (n == 160) { printf "%.5f\n", sqrt(s / n); s = 0; n = 0 } }'; }

# audio_envelope RAW FROM SECONDS: envelope of SECONDS of captured sound from byte FROM.
audio_envelope() {
  dd if="$1" iflag=skip_bytes,count_bytes skip=$(( $2 / 4 * 4 )) count="$(audio_seconds "$3")" bs=64K status=none |
    sox -t raw -r 44100 -e signed -b 16 -c 2 -L - -r 8000 -c 1 -t dat - | _envelope
}

# mp3_envelope FILE SECONDS: envelope of the first SECONDS of an MP3 file.
mp3_envelope() {
  # sox stops reading after SECONDS: the decoder's broken pipe is expected.
  { lame --decode --quiet "$1" - 2>/dev/null || true; } | sox -t wav - -r 8000 -c 1 -t dat - trim 0 "$2" | _envelope
}

# envelope_match REF HEARD MAXDELAY_S: "R D": the best correlation R of
# envelope file REF with envelope file HEARD delayed by 0 to MAXDELAY_S
# seconds, and that delay D in seconds. Near 1 for the same music.
envelope_match() {
  awk -v maxlag="$(awk -v s="$3" 'BEGIN { print int(s * 50) }')" '
    FNR == NR { r[n++] = $1; next }
    { c[m++] = $1 }
    END {
      best = -2; bl = 0
      for (l = 0; l <= maxlag && l + n <= m; l++) {
        sx = sy = sxx = syy = sxy = 0
        for (i = 0; i < n; i++) { x = r[i]; y = c[i + l]; sx += x; sy += y; sxx += x * x; syy += y * y; sxy += x * y }
        vx = sxx - sx * sx / n; vy = syy - sy * sy / n
        if (vx > 0 && vy > 0) { rr = (sxy - sx * sy / n) / sqrt(vx * vy); if (rr > best) { best = rr; bl = l } }
      }
      printf "%.3f %.2f\n", best, bl / 50
    }' "$1" "$2"
}

# save_animation NAME: F6 into $OUT/NAME.txt; waits until the console says
# this save (counted from the start of the run) has been made.
SAVES=0
save_animation() {
  key F6
  choose_file "Save Animation" "$OUT/$1"
  SAVES=$((SAVES + 1))
  local i
  for i in $(seq 1 100); do
    [ "$(grep -c 'Animation has been saved' "$LOG")" -ge "$SAVES" ] && return 0
    sleep 0.1
  done
  fail "saving $1 did not finish"
}
