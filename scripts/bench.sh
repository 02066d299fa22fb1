#!/usr/bin/env bash
# Builds and runs the benchmark programs: data units per second through the data callback,
# whole-file `tolvane save` per recording, DrawPage of full pages onto the raster canvas (pages
# per second: items_per_second), and the heap per stored subpage after the BBC recording
# (natively, and for i686 under Wine when the win32 build exists); with the win32 build, also
# DrawPage onto the GDI canvas under Wine (gdi_drawing_bench, pages per second). Extra arguments
# go to Google Benchmark.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native -j 2 --target reception_bench tolvane_save_bench page_drawing_bench memory_per_subpage
build/native/bench/reception_bench "$@"
build/native/bench/tolvane_save_bench "$@"
build/native/bench/page_drawing_bench "$@"
bbc=../shared/samples/uk_bbc1_ceefax_2006-01-22.t42
build/native/bench/memory_per_subpage "$bbc"
if [ -f build/win32/CMakeCache.txt ]; then
  cmake --build build/win32 -j 2 --target memory_per_subpage gdi_drawing_bench
  scripts/wine-run.sh build/win32/wineprefix build/win32/bench/memory_per_subpage.exe "Z:$(realpath "$bbc")"
  # DrawPage onto the GDI canvas: a window and a display, so inside an Xvfb of its own.
  scripts/wine-run-xvfb.sh build/win32/wineprefix build/win32/bench/gdi_drawing_bench.exe \
    "Z:$(realpath build/win32/fonts/tolv.fon)" "Z:$(realpath "$bbc")"
fi
