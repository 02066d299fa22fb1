#!/usr/bin/env bash
# Runs one Windows program under 32-bit Wine, as ctest's emulator for the win32 preset:
#   wine-run.sh PREFIX PROGRAM [ARGS...]
# The prefix is prepared first if it is missing. The run ends after TOLV_WINE_TIMEOUT seconds
# (120 by default) with exit code 124. The program's exit code is passed through.
set -euo pipefail

prefix=$1
shift
"$(dirname "$0")/wine-prefix.sh" "$prefix"

export WINEPREFIX=$(realpath -m "$prefix") WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# One server kept for 30 s after its last client: a test then starts in ~0.05 s, not ~0.5 s.
# The Wine services that start with a new server inherit the output of the program that started
# them and keep it open until the server ends, so ctest would wait 30 s for every test: the one
# run that finds no server (exit code 0, not 2) starts them itself, on /dev/null, under a lock.
(
  flock 9
  # The lock's descriptor stays out of the server and the services, or they would hold the lock.
  if timeout 30 wineserver -p30 </dev/null >/dev/null 2>&1 9>&-; then
    timeout 60 wine cmd.exe /c exit 0 </dev/null >/dev/null 2>&1 9>&- || true
  fi
) 9>"$WINEPREFIX.server.lock"

# Windows programs end their lines with CR LF. The CR goes, so that ctest's test discovery and
# its output checks read the lines as a Linux program's. Standard error is held in a file until
# the program ends, then shown.
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
set +e
timeout --kill-after=5 "${TOLV_WINE_TIMEOUT:-120}" wine "$@" 2>"$errors" | tr -d '\r'
status=${PIPESTATUS[0]}
set -e
tr -d '\r' <"$errors" >&2
[ "$status" -ne 124 ] || echo "wine-run.sh: timed out after ${TOLV_WINE_TIMEOUT:-120} s: $*" >&2
# Wine 8.0 reports exit code 0 for about one crashed program in ten, more often under load; Wine's
# own line about the unhandled exception tells.
if [ "$status" -eq 0 ] && grep -q '^wine: Unhandled ' "$errors"; then
  echo "wine-run.sh: the program crashed, yet Wine reported exit code 0: failing it" >&2
  status=1
fi
exit "$status"
