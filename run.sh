#!/usr/bin/env bash
# Installs what is missing, builds, and starts Puppetorium from the
# repository root, where its data folders live.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target puppetorium
exec ./build/puppetorium "$@"
