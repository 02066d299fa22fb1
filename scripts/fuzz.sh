#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for SECONDS (default 60) from its seed corpus.
# New inputs go to a scratch corpus in the build tree; a crash stops the run with its input saved.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for fuzzer in build/fuzz/fuzz/*_fuzzer; do
  name=$(basename "$fuzzer" _fuzzer)
  scratch=build/fuzz/corpus/$name
  mkdir -p "$scratch" build/fuzz/crashes
  echo "== fuzz $name for ${seconds}s"
  status=0
  "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix=build/fuzz/crashes/ \
    "$scratch" "fuzz/corpus/$name" >"build/fuzz/$name.log" 2>&1 || status=$?
  grep -E '^(stat::number_of_executed_units|stat::new_units_added)' "build/fuzz/$name.log" || true
  if [ $status -ne 0 ]; then
    tail -40 "build/fuzz/$name.log"
    exit $status
  fi
done
