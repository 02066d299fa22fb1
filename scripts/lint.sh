#!/usr/bin/env bash
# clang-format and clang-tidy over the project's own sources; fails on any finding.
# Needs the native build's compile_commands.json (scripts/test.sh configures it first).
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t sources < <(git ls-files '*.cpp' '*.h' '*.c')
clang-format --dry-run --Werror "${sources[@]}"

mapfile -t units < <(git ls-files '*.cpp' | grep -v '^tests/')
run-clang-tidy -quiet -p build/native "${units[@]}" >build/clang-tidy.log 2>&1 || {
  grep -E 'warning:|error:' build/clang-tidy.log | sort -u
  exit 1
}
echo "lint: clean"
