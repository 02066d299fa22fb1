#!/usr/bin/env bash
# Prepares a 32-bit Wine prefix for the Windows tests, once: wine-prefix.sh PREFIX
# A finished prefix carries a marker and is left alone; a half-made one (an interrupted run) is
# made again. Concurrent callers wait on a lock, so ctest -j and the build never race.
set -euo pipefail

prefix=$(realpath -m "$1")
# The marker holds the desktop's size: a prefix made for another size is made again.
desktop=1280x1024
marker=$prefix/.tolv-ready
ready() { [ "$(cat "$marker" 2>/dev/null)" = "$desktop" ]; }
ready && exit 0

mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
ready && exit 0

start=$(date +%s)
rm -rf "$prefix"
export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine's programs and server are started without the lock's descriptor, or they would hold it.
timeout 300 wineboot --init 9>&-
# A virtual desktop: without a window manager under Xvfb, Wine waits 2 s on every top-level
# window hidden or destroyed. It holds the whole viewer (915 x 530 at 216, 98), so a screenshot
# of it has no part off the screen; the Xvfb displays of the scripts are as large.
timeout 60 wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 9>&-
timeout 60 wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$desktop" /f >/dev/null 9>&-
# A crash prints a backtrace and ends the program at once instead of waiting in a dialog.
timeout 60 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 9>&-
cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"
timeout 60 wineserver -w 9>&-
echo "$desktop" >"$marker"
echo "wine prefix ready in $(($(date +%s) - start)) s: $prefix"
