#!/usr/bin/env bash
# Builds the demo stream (native) and the host simulator (win32), then runs the simulator under
# 32-bit Wine with the plug-in on a recording, the project's demo stream by default:
#   scripts/hostsim.sh [--test-plugin] [RECORDING] [hostsim options: --speed X, --fast, --loop ...]
# With a display the host's window opens (Plug-ins > Tol-Vane opens the viewer) and stays until
# closed. Without one it runs inside Xvfb: opens the viewer, types page 100, saves a screenshot of
# the viewer window, saves the page through "Speichern unter" (Ctrl+S and the system's save
# dialog) as a PNG picture and as text, and prints the three paths.
# The run directory build/win32/hostsim-run mirrors the host's install: plugins/tolv.dll,
# plugins/tolv.fon, plugins/vtx/. --test-plugin puts the tests' stand-in plug-in there instead of
# the real tolv.dll; TOLV_PLUGIN=PATH puts that DLL there.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

test_plugin=false
if [ "${1:-}" = --test-plugin ]; then
  test_plugin=true
  shift
fi
recording="$root/build/native/demo/demo.ts"
if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then
  recording=$(realpath "$1")
  shift
fi

(
  scripts/install-deps.sh
  cmake --preset native >/dev/null
  cmake --build --preset native -j 2 --target tolv_demo_data tolv_fon >/dev/null
  cmake --preset win32 >/dev/null
  cmake --build --preset win32 -j 2 >/dev/null
) >&2

run="$root/build/win32/hostsim-run"
mkdir -p "$run/plugins/vtx"
if [ -n "${TOLV_PLUGIN:-}" ]; then
  plugin="$TOLV_PLUGIN"  # another build's tolv.dll, to compare with (scripts/latency.sh)
elif $test_plugin; then
  plugin="$root/build/win32/tests/wine/hostsim-run/plugins/tolv.dll"
else
  plugin=$(find "$root/build/win32" -name tolv.dll -not -path '*/tests/*' -not -path "$run/*" | head -n 1)
fi
if [ -z "$plugin" ] || [ ! -f "$plugin" ]; then
  rm -f "$run/plugins/tolv.dll"
  echo "hostsim.sh: plugins/tolv.dll is missing: the win32 build has no tolv.dll yet." >&2
  echo "hostsim.sh: scripts/hostsim.sh --test-plugin runs the simulator with the tests' stand-in." >&2
  exit 1
fi
cp "$plugin" "$run/plugins/tolv.dll"
[ ! -f "$root/build/native/fonts/tolv.fon" ] || cp "$root/build/native/fonts/tolv.fon" "$run/plugins/tolv.fon"

prefix="$root/build/win32/wineprefix"
hostsim="$root/build/win32/tools/hostsim/hostsim.exe"
cd "$run"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$root/scripts/wine-run.sh" "$prefix" "$hostsim" "Z:$recording" "$@"
fi

screenshot="$run/viewer.png"
rm -f "$screenshot" "$run/seite-100.png" "$run/seite-100.txt"
cat >"$run/demo-script.txt" <<'SCRIPT'
menu 60000
wait 2000
key 1 0 0
wait 2000
png viewer.png viewer
key ctrl+S
save-dialog seite-100.png 1
wait 500
menu-item "Speichern &unter > aktuelle Seite..."
save-dialog seite-100.txt 2
wait 500
log hostsim-log.txt
exit
SCRIPT
status=0
"$root/scripts/wine-run-xvfb.sh" "$prefix" "$hostsim" "Z:$recording" --script demo-script.txt "$@" || status=$?
if [ ! -f "$screenshot" ]; then
  echo "hostsim.sh: no screenshot (exit status $status); the host's log: $run/hostsim-log.txt" >&2
  exit 1
fi
echo "$screenshot"
for saved in "$run/seite-100.png" "$run/seite-100.txt"; do
  if [ -f "$saved" ]; then echo "$saved"; else echo "hostsim.sh: the save did not write $saved" >&2; status=1; fi
done
exit "$status"
