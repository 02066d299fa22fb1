#!/usr/bin/env bash
# The soak: the host simulator feeds the BBC recording (looping) at 20 times broadcast pace to a
# build of the plug-in that reports its live handle counts, while tests/wine/scripts/soak.txt
# opens the viewer, types a page, waits for it and closes the viewer, four cycles a pass, with a
# channel switch, an about dialog and an unload and reload in each pass. After every cycle, dialog
# and reload the counts must be those after On_Start.
#   scripts/soak.sh [PASSES]      (50 by default: 200 cycles, 50 channel switches, 50 dialogs)
# Prints the figures; the host's log stays in build/win32/soak-run/log.txt. Exit status: the
# simulator's (the number of failed steps), 124 when it timed out (a deadlock).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
passes="${1:-50}"
recording="$root/../shared/samples/uk_bbc1_ceefax_2006-01-22.t42"

(
  scripts/install-deps.sh
  cmake --preset native >/dev/null
  cmake --build --preset native -j 2 --target tolv_fon >/dev/null
  cmake --preset win32 >/dev/null
  cmake --build --preset win32 -j 2 --target hostsim tolv_soak_plugin >/dev/null
) >&2

run="$root/build/win32/soak-run"
rm -rf "$run"
mkdir -p "$run/plugins/vtx"
cp build/win32/tests/wine/soak-plugin/tolv.dll build/native/fonts/tolv.fon "$run/plugins/"

prefix="$root/build/win32/wineprefix"
hostsim="$root/build/win32/tools/hostsim/hostsim.exe"
# A cycle takes well under a second; a pass has four.
export TOLV_WINE_TIMEOUT=$((60 + passes * 20))
cd "$run"
start=$(date +%s%N)
status=0
"$root/scripts/wine-run-xvfb.sh" "$prefix" "$hostsim" "Z:$(realpath "$recording")" --speed 20 --loop --hidden \
  --log log.txt --script "Z:$root/tests/wine/scripts/soak.txt" --repeat "$passes" >/dev/null || status=$?
end=$(date +%s%N)

if [ ! -f log.txt ]; then
  echo "soak.sh: the simulator wrote no log (exit status $status)" >&2
  exit "$([ "$status" -ne 0 ] && echo "$status" || echo 1)"
fi
awk -v seconds="$(((end - start) / 1000000000))" -v status="$status" '
  /plug-in.s live handles:/ { sub(/.*handles: /, ""); start = $0 }
  /script: pass [0-9]+ of/ { passes = $4 }
  /script: live handles/ {
    ++checks
    line = $0
    sub(/.*script: live handles /, "", line)
    split(line, parts, "; ")
    if (parts[1] != start) ++differing
    split(parts[2], figures, " ")
    threads = figures[1]; kb = figures[3]
    if (checks == 1) first_kb = kb
    last_kb = kb
    if (kb > max_kb) max_kb = kb
    if (threads > max_threads) max_threads = threads
  }
  /user switches to PID/ { ++switches }
  /call On_Menu_Select\(60000\)/ { ++opened }
  /call On_Menu_Select\(60001\)/ { ++dialogs }
  /filter [0-9]+ started/ { ++filters }
  /FAILED/ { ++failed }
  /after unloading: [0-9]+ plug-in/ {
    ++unloads
    if ($0 ~ /: 0 plug-in window.s., 0 filter.s. .*mutexes 0 of .*classes 0 of .*faces 0 of/) ++clean
  }
  /after unloading: process handles/ {
    handles = $6; sub(/,/, "", handles)
    if (!first_handles) first_handles = handles
    before_load = $7
  }
  END {
    printf "soak: %d passes in %d s: %d viewer cycles, %d channel switches, %d about dialogs, %d filters started\n", passes ? passes : 1, seconds, opened, switches, dialogs, filters
    printf "live handles after On_Start: %s\n", start
    printf "handle checks: %d, of which differ from them: %d; failed steps: %d; exit status %d\n", checks, differing, failed, status
    printf "unloads straight after On_Exit: %d, leaving no window, filter, mutex, class or font face: %d\n", unloads, clean
    printf "host process handles after the unloads: %d at the first, %d at the last, %d before the first load\n", first_handles, handles, before_load
    printf "host process at the checks: at most %d thread(s); private memory %d KB at the first, %d KB at the last, %d KB at most\n", max_threads, first_kb, last_kb, max_kb
  }' log.txt
exit "$status"
