#!/usr/bin/env bash
# The program opens one 700 x 500 window titled "Puppetorium v1.0".
source "$(dirname "$0")/lib.sh"
e2e_init window

start_app
read -r w h < <(window_size)
expect "window is 700 x 500 (got ${w} x ${h})" test "$w" = 700 -a "$h" = 500
expect "exactly one window with the title" test "$(xdotool search --name '^Puppetorium v1\.0$' | wc -l)" = 1
shot start >/dev/null
expect "program still running" app_alive
