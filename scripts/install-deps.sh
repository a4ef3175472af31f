#!/usr/bin/env bash
# Installs the Debian packages Puppetorium needs to build, run and test on
# Debian 12 (bookworm): everything a bare system (debootstrap minbase plus
# git) lacks for both ./run.sh and ./test.sh, the benchmarks' valgrind
# header and the fuzzers' symbolizer included. Does nothing when everything
# is already there, so both scripts call it first.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  freeglut3-dev libglu1-mesa-dev libgl-dev libgl1-mesa-dri
  libsdl2-mixer-dev libgtk-3-dev
  libegl-dev libegl1-mesa-dev libavcodec-dev libavformat-dev libavfilter-dev libavutil-dev
  libswscale-dev libswresample-dev libaubio-dev ffmpeg
  libgtest-dev libgmock-dev libbenchmark-dev
  libx11-dev xvfb xauth xdotool x11-utils imagemagick sox lame python3
  clang libclang-rt-14-dev llvm valgrind
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then SUDO="sudo"; else
    echo "ERROR: need root (or sudo) to install: ${missing[*]}" >&2; exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
