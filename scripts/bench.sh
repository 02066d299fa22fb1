#!/usr/bin/env bash
# Builds and runs the benchmark programs: data units per second through the data callback, and
# whole-file `tolvane save` per recording. Extra arguments go to Google Benchmark.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native -j 2 --target reception_bench tolvane_save_bench
build/native/bench/reception_bench "$@"
build/native/bench/tolvane_save_bench "$@"
