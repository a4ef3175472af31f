#!/usr/bin/env bash
# A person looks for help and finds their way round the views: F1 shows a
# help page in place of the stage, a window made too small shows a notice
# instead and the page comes back at full size, F1 closes the help (turning
# pages with the mouse is the mouse test's); "h" lays the key chart over the
# stage and hides the head-up text; "e" steps through the camera modes, one
# of which keeps the walking figure in the middle; "0" starts the superman
# scene with the camera in the drifting mode.
source "$(dirname "$0")/lib.sh"
e2e_init journey_4_help_modes

CHART_SLATE='abs(r-g)<0.04&&b>=r&&b-r<0.08&&r>0.15&&r<0.32'

# same_whole A FILE: whole screenshots compared.
same_whole() { same_picture "$1" "$2"; }
# help_page FILE: a help page: black screen, light text from the top left.
help_page() {
  [ "$(dark_share "$1" 698 498 0 0)" -ge 80 ] &&
    [ "$(region_share "$1" 300 40 60 10 "$TEXT_WHITE")" -ge 3 ]
}
# too_small_notice FILE: a 450 x 450 black window with text only near its middle.
too_small_notice() {
  [ "$(window_size)" = "450 450" ] &&
    [ "$(dark_share "$1" 448 448 0 0)" -ge 90 ] &&
    [ "$(region_share "$1" 160 80 145 185 "$TEXT_WHITE")" -ge 3 ] &&
    [ "$(region_share "$1" 300 40 60 10 "$TEXT_WHITE")" -eq 0 ]
}
# hud_shown FILE / chart_shown FILE: the first HUD line, above where the chart
# would reach; the chart's slate frame along its bottom edge.
hud_shown() { [ "$(region_share "$1" 90 8 10 22 "$TEXT_GREY")" -ge 5 ]; }
chart_shown() { [ "$(region_share "$1" 660 25 20 435 "$CHART_SLATE")" -ge 40 ] && ! hud_shown "$1"; }
chart_gone() { hud_shown "$1" && scene_drawn "$1"; }
# mode_mask FILE OUT: the view-mode name in the head-up text.
# The name from its 14th letter on (POINT, WARDS_P, PERSON, nothing): clear
# of the moving light's marker, which can show over the start of the line.
mode_mask() { text_mask "$1" 64 17 "$((HUD_VALUE_X + 104))" "$(hud_row_y 1)" "$2" >/dev/null; }
# mode_changed FILE: the view-mode name differs from $ART/mode_prev.png.
mode_changed() { mode_mask "$1" "$ART/mode_now.png"; pictures_differ "$ART/mode_now.png" "$ART/mode_prev.png"; }

start_app
wait_first_frame >/dev/null

# ---------------------------------------------------------------- help pages
key F1
p1=$(poll_shot help_p1 10 help_page) || fail "F1 did not show a help page"
scene_drawn "$p1" && fail "the stage shows behind the help"
echo "ok - F1 shows a help page in place of the stage"
xdotool windowsize "$WID" 450 450
poll_shot help_small 10 too_small_notice >/dev/null || fail "a 450 x 450 window did not show the too-small notice"
echo "ok - in a 450 x 450 window the help gives way to a notice"
xdotool windowsize "$WID" 700 500
poll_shot help_big_again 10 same_whole "$p1" >/dev/null || fail "back at 700 x 500 the page did not come back"
echo "ok - back at 700 x 500 the page shows again"
key F1
poll_shot help_closed 10 scene_drawn >/dev/null || fail "F1 again did not bring the stage back"
echo "ok - F1 again closes the help"
wait_intro_over

# ---------------------------------------------------------------- key chart
key h
poll_shot chart 10 chart_shown >/dev/null || fail "h did not show the key chart in place of the head-up text"
echo "ok - h shows the key chart and hides the head-up text"
key h
poll_shot chart_gone 10 chart_gone >/dev/null || fail "h again did not hide the chart"
echo "ok - h again hides it"

# ---------------------------------------------------------------- camera modes
# Each e shows another view-mode name; the fourth brings back the first.
# In the third mode the camera keeps the selected figure in the middle.
mode_mask "$(snap mode0)" "$ART/mode0.mask.png"
next_mode() {
  cp "$ART/mode$(($1 - 1)).mask.png" "$ART/mode_prev.png"
  key e
  poll_shot "mode$1" 10 mode_changed >/dev/null || fail "e did not change the view mode shown (mode $1)"
  cp "$ART/mode_now.png" "$ART/mode$1.mask.png"
}
next_mode 1
next_mode 2
expect "the third view mode is not the first" pictures_differ "$ART/mode0.mask.png" "$ART/mode2.mask.png"
key r                                   # 25 frames a second: short steps
before=$(snap before_walk)
walked=$(hold_until walk_followed 30 "Tab Left" differs_from "$before" 5000)
expect "walking aside in the third mode turns the camera after the figure, which stays in the middle" \
  figure_within 320 380 "$walked"
next_mode 3
expect "the fourth is not the second" pictures_differ "$ART/mode1.mask.png" "$ART/mode3.mask.png"
key e
mode_back() { mode_mask "$1" "$ART/mode_now.png"; same_picture "$ART/mode_now.png" "$ART/mode0.mask.png"; }
poll_shot mode0_again 10 mode_back >/dev/null || fail "a fourth e did not come back to the first view mode"
echo "ok - a fourth e comes back to the first mode"

# ---------------------------------------------------------------- superman
# Superman flies off with the camera drifting after him: the view mode the
# head-up text names is the one a single e gave.
eof_lines() { grep -cxF 'EOF found' "$LOG" || true; }
eofs=$(eof_lines)
key 0
wait_for_log "EOF found"
expect "0 reads superman's file" test "$(eof_lines)" = $((eofs + 1))
mode_second() { mode_mask "$1" "$ART/mode_now.png"; same_picture "$ART/mode_now.png" "$ART/mode1.mask.png"; }
flying=$(poll_shot superman 10 mode_second) || fail "after 0 the view mode is not the second one"
echo "ok - the camera drifts after him (second view mode)"
poll_shot superman_later 10 differs_from "$flying" 500 >/dev/null || fail "superman does not fly"
echo "ok - and he flies"

expect "program still running" app_alive
