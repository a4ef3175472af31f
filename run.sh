#!/usr/bin/env bash
# Installs what is missing, builds, and starts Puppetorium from the
# repository root, where its data folders live. Without a usable display it
# renders the built-in scenes headless into showcase/ instead.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target puppetorium

if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  exec bash tools/showcase.sh "$PWD/build/puppetorium"
fi
exec ./build/puppetorium "$@"
