#!/usr/bin/env bash
# Sets up what is missing, builds tolvane and shows a page of a recording in the terminal.
#   scripts/show.sh                      page 100 of the BBC recording
#   scripts/show.sh INPUT PAGE [SUBCODE] [--reveal] [--pid N]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

(
  cd "$root"
  scripts/install-deps.sh
  cmake --preset native >/dev/null
  cmake --build --preset native -j 2 --target tolvane >/dev/null
) >&2

if [ $# -eq 0 ]; then
  set -- "$root/../shared/samples/uk_bbc1_ceefax_2006-01-22.t42" 100
fi
exec "$root/build/native/tools/tolvane/tolvane" show "$@"
