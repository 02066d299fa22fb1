#!/usr/bin/env bash
# Runs one Windows program under 32-bit Wine inside an Xvfb display of its own, for runs without
# a screen: the prefix's Wine server is stopped before the display goes.
#   wine-run-xvfb.sh PREFIX PROGRAM [ARGS...]
# The exit status is the program's, as scripts/wine-run.sh passes it on.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '
  status=0
  "$1/scripts/wine-run.sh" "$2" "${@:3}" || status=$?
  WINEPREFIX="$2" timeout 30 wineserver -k 2>/dev/null || true
  exit "$status"' _ "$root" "$@"
