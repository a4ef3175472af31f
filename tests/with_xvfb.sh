#!/usr/bin/env bash
# Runs a command under its own virtual X server (GL-tier tests).
set -euo pipefail
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$@"
