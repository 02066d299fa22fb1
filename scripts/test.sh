#!/usr/bin/env bash
# Sets up what is missing, then builds and runs every test of every preset, and builds the
# 32-bit Windows cross build.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

for preset in native native-asan native-tsan; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" -j 2
  if [ "$preset" = native ]; then
    echo "== lint"
    scripts/lint.sh
  fi
done

scripts/fuzz.sh 60

# The win32 build's tests run under 32-bit Wine inside one Xvfb display; the Wine server of the
# build tree's prefix is stopped before the display goes.
echo "== win32 (tests under Wine)"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j 2
# A kernel without 32-bit emulation cannot start 32-bit Wine at all: the Windows code is then
# built and linked above, and the run under Wine is skipped, loudly.
if ! wine_error=$(wine --version 2>&1 >/dev/null); then
  echo "== win32: tests NOT run: this machine cannot start 32-bit Wine (${wine_error##*: })"
  exit 0
fi
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '
  status=0
  ctest --preset win32 -j 2 || status=$?
  WINEPREFIX="$PWD/build/win32/wineprefix" timeout 30 wineserver -k 2>/dev/null || true
  exit "$status"'
