#!/usr/bin/env bash
# The right-button menu's "export BVH..." and "export video..." render the
# scene on show (the sword fight) through a save chooser; Escape during a
# video export cancels it and leaves no file, not even a temporary. The
# choosers are titled "Export BVH" and "Export Video".
source "$(dirname "$0")/lib.sh"
e2e_init export_menu
OUT="$ART/out"; mkdir -p "$OUT"
start_app
key 6
sleep 1

# Entries from 0: body, display, ------, -reset, -clear keyframes,
# -pushKeyFrame, -setAnimateOn, quit, scene, keyframes, export video...,
# export BVH...
menu_open 600 30
menu_choose "$MENU" 11
choose_file "Export BVH" "$OUT/fight"
wait_for_log "Exported 170 frames to '$OUT/fight.bvh'" 60
expect "the .bvh got its extension and 170 frames" grep -qx 'Frames: 170' "$OUT/fight.bvh"

menu_open 600 30
menu_choose "$MENU" 10
choose_file "Export Video" "$OUT/fight.webm"
wait_for_log "Exported 170 frames to '$OUT/fight.webm'" 200
frames=$(ffprobe -v error -count_frames -select_streams v:0 \
  -show_entries stream=codec_name,width,height,nb_read_frames -of csv=p=0 "$OUT/fight.webm")
expect "the window's video is 170 VP9 frames at 1280x720 (got $frames)" test "$frames" = "vp9,1280,720,170"

menu_open 600 30
menu_choose "$MENU" 10
choose_file "Export Video" "$OUT/cancelled.mp4"
for i in $(seq 1 100); do
  ls "$OUT" | grep -q 'cancelled.mp4.tmp-' && break
  sleep 0.1
done
sleep 1
key Escape
wait_for_log "Export cancelled" 60
expect "no video after Escape" test ! -e "$OUT/cancelled.mp4"
expect "no temporary after Escape" test -z "$(ls "$OUT" | grep tmp- || true)"
expect "the program still runs" app_alive
