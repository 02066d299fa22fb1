#!/usr/bin/env bash
# Latency of the viewer at broadcast pace: from the data callback that completes a searched page
# to the page in the paint box, measured by the host simulator's latency command with the real
# tolv.dll under Xvfb:
#   scripts/latency.sh [RECORDING] [PASSES] [PASS_SECONDS] [RUNS]
# Each run opens the viewer PASSES times (default 6), each time on a fresh viewer (empty page
# memory) and a fresh filter that plays the recording (the BBC T42 sample by default) from its
# start for PASS_SECONDS (default 40); a sample types a page before its first completion and ends
# when rows 1-23 of the paint box equal the core's raster drawing of the completed page
# (latency_expected; row 0, the header, runs live). The check runs after every message the host's
# window thread dispatches and at least every millisecond. Prints, for each of RUNS runs (default
# 3): samples, median, p90, p99, max; the resolution; how far apart the viewer's timer periods
# came and how long its ticks ran. TOLV_PLUGIN=PATH measures another build's tolv.dll. The samples
# stay in build/win32/hostsim-run/latency-RUN.txt.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
recording=$(realpath "${1:-$root/../shared/samples/uk_bbc1_ceefax_2006-01-22.t42}")
passes="${2:-6}"
pass_seconds="${3:-40}"
runs="${4:-3}"

run="$root/build/win32/hostsim-run"
mkdir -p "$run/plugins"
(
  cmake --preset native >/dev/null
  cmake --build --preset native -j 2 --target latency_expected tolv_fon >/dev/null
) >&2
"$root/build/native/tools/hostsim/latency_expected" "$recording" "$root/build/native/fonts/tolv.fon" \
  "$run/latency-expected.txt" >/dev/null
cat >"$run/latency-script.txt" <<SCRIPT
menu 60000
wait-caption "Zeige:"
latency latency.txt $((pass_seconds * 1000))
close
wait-closed
SCRIPT

for r in $(seq 1 "$runs"); do
  rm -f "$run/latency.txt" "$run/latency.txt.viewer"
  # hostsim.sh builds, installs the plug-in and runs the script inside Xvfb.
  DISPLAY='' TOLV_WINE_TIMEOUT=$((passes * (pass_seconds + 20) + 60)) scripts/hostsim.sh "$recording" --script latency-script.txt --repeat "$passes" >/dev/null \
    2>"$run/latency-stderr.txt" || true
  if [ ! -s "$run/latency.txt" ]; then
    echo "latency.sh: no samples; see $run/latency-stderr.txt" >&2
    exit 1
  fi
  cp "$run/latency.txt" "$run/latency-$r.txt"
  cp "$run/latency.txt.viewer" "$run/latency-$r.txt.viewer" 2>/dev/null || true
  # Nearest rank of column 3 (latency) and the largest column 4 (resolution), in microseconds.
  stats=$(sort -n -k3 "$run/latency.txt" | awk '
    { v[NR] = $3; if ($4 > res) res = $4; if ($3 > 100000) slow++ }
    function rank(p) { r = int((NR * p + 99) / 100); return v[r < 1 ? 1 : r] / 1000 }
    END {
      printf "samples %d, median %.1f ms, p90 %.1f ms, p99 %.1f ms, max %.1f ms, over 100 ms %d; resolution max %.2f ms",
        NR, rank(50), rank(90), rank(99), v[NR] / 1000, slow, res / 1000
    }')
  # Median, p99 and max (ms) of the numbers (microseconds) on the lines of kind $1 in file $2.
  figures() {
    awk -v kind="$1" '$1 == kind { print $2 }' "$2" | sort -n | awk '
      { v[NR] = $1 }
      function rank(p) { r = int((NR * p + 99) / 100); return v[r < 1 ? 1 : r] / 1000 }
      END { if (NR) printf "median %.2f ms, p99 %.1f ms, max %.1f ms", rank(50), rank(99), v[NR] / 1000 }'
  }
  viewer="viewer timer periods $(figures gap "$run/latency.txt.viewer"); its ticks ran $(figures tick "$run/latency.txt.viewer")"
  echo "run $r: $stats; $viewer"
done
