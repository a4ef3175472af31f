#!/usr/bin/env bash
# showcase.sh - runs Puppetorium under a virtual X server through a scripted
# tour and writes PNG screenshots and an animated GIF into showcase/.
# ./run.sh calls it on a machine without a usable display.
#   tools/showcase.sh [BINARY]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export PUPPETORIUM_ROOT="$root"
export PUPPETORIUM_BIN="${1:-$root/build/puppetorium}"
export PUPPETORIUM_BUILD="$root/build"
source "$root/tests/e2e/lib.sh"

e2e_init showcase 1024x768
out="$root/showcase"
rm -rf "$out"; mkdir -p "$out"

snap() { cp "$(shot "$1")" "$out/$1.png"; echo "  $out/$1.png"; }

echo "Puppetorium showcase (no display found): recording a tour under Xvfb"
start_app
wait_for_log "Loaded texture 'images/fabric_black_suit_front.bmp'" 20
sleep 2
snap 01-first-scene

# Pose and record: pick the right upper arm, raise it, walk, record three keyframes.
key y y y y y y
key F7
for i in $(seq 1 15); do key x; done
key_down Up; sleep 0.6; key_up Up
key F7
for i in $(seq 1 10); do key w; done
key_down Left; sleep 0.5; key_up Left
key F7
key F8
sleep 1.5
snap 02-pose-record-trail
key F8

key 0; sleep 3; snap 03-superman
key 1 e e e; key 5; sleep 3; snap 04-boy-and-girl
key 6; sleep 3; snap 05-sword-fight
for i in $(seq -w 1 24); do shot "gif-$i" >/dev/null; sleep 0.12; done
convert -delay 12 -loop 0 "$ART"/gif-*.png -resize 50% "$out/sword-fight.gif"
echo "  $out/sword-fight.gif"
key 8; sleep 3; snap 06-lawnmower
key 4; sleep 4; snap 07-camera-tour
key 1
key F1; sleep 1; snap 08-help
key F1

echo "Showcase written to $out/"
