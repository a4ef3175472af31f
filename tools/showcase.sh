#!/usr/bin/env bash
# showcase.sh - renders Puppetorium's shipped scenes without any display
# into showcase/: PNG pictures of the scenes, the sword fight as a GIF and
# an MP4. ./run.sh calls it on a machine without a usable display.
#   tools/showcase.sh [BINARY]
# Each picture is a scene file of scenes/ opened and the frames that follow,
# rendered headless at 1024x768. The first scene and the camera tour are the
# program's own start and its tour key, as no scene file holds them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="${1:-$root/build/puppetorium}"
out="$root/showcase"
rm -rf "$out"; mkdir -p "$out"
cd "$root"   # the program reads images/ and animations/ from here

render() {  # NAME INPUT FRAMES [more options]
  local name="$1" input="$2" frames="$3"; shift 3
  "$bin" --render "$input" --frames "$frames" "$@" --out "$out/$name" >/dev/null
  echo "  $out/$name"
}

echo "Puppetorium showcase (no display found): rendering the scenes headless"
render 01-first-scene.png - 50 --size 1024x768
render 03-superman.png scenes/superman.scene 75 --size 1024x768
render 04-boy-and-girl.png scenes/boy_and_girl.scene 75 --size 1024x768
render 05-sword-fight.png scenes/swordfight.scene 75 --size 1024x768
render 06-lawnmower.png scenes/lawnmower.scene 75 --size 1024x768
render 07-camera-tour.png - 100 --keys 4 --size 1024x768
render sword-fight.gif scenes/swordfight.scene 100 --size 512x384
render sword-fight.mp4 scenes/swordfight.scene 250 --size 1280x720
echo "Showcase written to $out/"
