#!/usr/bin/env bash
# The allowed includes between folders (docs/ARCHITECTURE.md), then clang-format and clang-tidy
# over the project's own sources; fails on any finding.
# Needs the native build's compile_commands.json (scripts/test.sh configures it first).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/check-includes.py

mapfile -t sources < <(git ls-files '*.cpp' '*.h' '*.c')
clang-format --dry-run --Werror "${sources[@]}"

mapfile -t units < <(git ls-files '*.cpp' | grep -v '^tests/')
run-clang-tidy -quiet -p build/native "${units[@]}" >build/clang-tidy.log 2>&1 || {
  grep -E 'warning:|error:' build/clang-tidy.log | sort -u
  exit 1
}

# The files only the Windows build compiles, from its compile database, parsed as i686 MinGW
# code with the cross compiler's C++ headers.
cmake --preset win32 >/dev/null
mapfile -t win32_units < <(python3 - <<'PY'
import json, os
def files(build):
    with open(f"build/{build}/compile_commands.json") as db:
        return {os.path.relpath(entry["file"]) for entry in json.load(db)}
for name in sorted(files("win32") - files("native")):
    if not name.startswith(("tests/", "..", "build/")):
        print(name)
PY
)
gcc_version=$(i686-w64-mingw32-g++-posix -dumpversion)
cxx_headers=/usr/lib/gcc/i686-w64-mingw32/$gcc_version/include/c++
run-clang-tidy -quiet -p build/win32 -extra-arg=--target=i686-w64-mingw32 -extra-arg=-isystem"$cxx_headers" \
  -extra-arg=-isystem"$cxx_headers/i686-w64-mingw32" "${win32_units[@]}" >build/clang-tidy-win32.log 2>&1 || {
  grep -E 'warning:|error:' build/clang-tidy-win32.log | sort -u
  exit 1
}
echo "lint: clean"
