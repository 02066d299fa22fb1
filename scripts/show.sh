#!/usr/bin/env bash
# Sets up what is missing, builds tolvane and shows a teletext page in the terminal.
#   scripts/show.sh                        page 100 of the project's own demo stream
#   scripts/show.sh [INPUT] PAGE [SUBCODE] [--reveal] [--pid N]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

(
  cd "$root"
  scripts/install-deps.sh
  cmake --preset native >/dev/null
  cmake --build --preset native -j 2 --target tolvane >/dev/null
) >&2

[ $# -gt 0 ] || set -- 100
exec "$root/build/native/tools/tolvane/tolvane" show "$@"
