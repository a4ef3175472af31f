#!/usr/bin/env bash
# showcase.sh - renders Puppetorium's built-in scenes without any display
# into showcase/: PNG pictures of the scenes, the sword fight as a GIF and
# an MP4. ./run.sh calls it on a machine without a usable display.
#   tools/showcase.sh [BINARY]
# Each picture is a scene's key pressed at the start and the frames that
# follow, rendered headless at 1024x768 (the keys are those of the window).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="${1:-$root/build/puppetorium}"
out="$root/showcase"
rm -rf "$out"; mkdir -p "$out"
cd "$root"   # the program reads images/ and animations/ from here

render() {  # NAME KEYS FRAMES [more options]
  local name="$1" keys="$2" frames="$3"; shift 3
  "$bin" --render - --keys "$keys" --frames "$frames" "$@" >/dev/null
  echo "  $out/$name"
}

echo "Puppetorium showcase (no display found): rendering the scenes headless"
render 01-first-scene.png "" 50 --size 1024x768 --out "$out/01-first-scene.png"
render 03-superman.png 0 75 --size 1024x768 --out "$out/03-superman.png"
render 04-boy-and-girl.png 5 75 --size 1024x768 --out "$out/04-boy-and-girl.png"
render 05-sword-fight.png 6 75 --size 1024x768 --out "$out/05-sword-fight.png"
render 06-lawnmower.png 8 75 --size 1024x768 --out "$out/06-lawnmower.png"
render 07-camera-tour.png 4 100 --size 1024x768 --out "$out/07-camera-tour.png"
render sword-fight.gif 6 100 --size 512x384 --out "$out/sword-fight.gif"
render sword-fight.mp4 6 250 --size 1280x720 --out "$out/sword-fight.mp4"
echo "Showcase written to $out/"
