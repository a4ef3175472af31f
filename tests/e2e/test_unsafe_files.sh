#!/usr/bin/env bash
# F5 on a FIFO or a device returns at once with an error and the program
# keeps drawing (both once hung it for good); a save named "foo" beside an
# existing "foo" writes foo.txt without asking about foo.
source "$(dirname "$0")/lib.sh"
e2e_init unsafe_files

DATA=$(data_copy)
OUT="$ART/files"; mkdir -p "$OUT"
mkfifo "$OUT/pipe.txt"
start_app "$DATA"

key F5
choose_file "Open Animation" "$OUT/pipe.txt"
wait_for_log "ERROR: '$OUT/pipe.txt' is not a regular file" 10
key F5
choose_file "Open Animation" /dev/zero
wait_for_log "ERROR: '/dev/zero' is not a regular file" 10

A=$(shot drawing_a); sleep 1; B=$(shot drawing_b)
expect "the scene still moves after both refusals" images_differ "$A" "$B"
expect "program still running" app_alive

echo "not an animation" > "$OUT/foo"
key F7
key F6
choose_file "Save Animation" "$OUT/foo"
wait_for_log "Animation has been saved" 10
expect "foo.txt was written" grep -qxF EOF "$OUT/foo.txt"
expect "foo was left alone" grep -qxF "not an animation" "$OUT/foo"
