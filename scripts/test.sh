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

echo "== win32"
cmake --preset win32 >/dev/null
cmake --build --preset win32
