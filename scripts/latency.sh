#!/usr/bin/env bash
# Latency of the viewer at broadcast pace: from the data callback that completes a searched page
# to the page in the paint box, over many pages of a recording (the BBC T42 sample by default),
# measured by the host simulator's latency command with the real tolv.dll under Xvfb:
#   scripts/latency.sh [RECORDING] [SECONDS]
# Prints the number of samples, their median and 99th percentile in ms; the samples (page, call,
# microseconds) stay in build/win32/hostsim-run/latency.txt.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
recording=$(realpath "${1:-$root/../shared/samples/uk_bbc1_ceefax_2006-01-22.t42}")
seconds="${2:-75}"

run="$root/build/win32/hostsim-run"
mkdir -p "$run"
rm -f "$run/latency.txt"
cat >"$run/latency-script.txt" <<SCRIPT
menu 60000
wait-caption "Zeige:"
latency latency.txt $((seconds * 1000))
log latency-log.txt
exit
SCRIPT
# hostsim.sh builds, installs the plug-in and runs the script inside Xvfb.
DISPLAY='' scripts/hostsim.sh "$recording" --script latency-script.txt >/dev/null 2>"$run/latency-stderr.txt" || true
if [ ! -s "$run/latency.txt" ]; then
  echo "latency.sh: no samples; see $run/latency-stderr.txt and $run/latency-log.txt" >&2
  exit 1
fi
sort -n -k3 "$run/latency.txt" | awk '
  { v[NR] = $3 }
  END {
    r50 = int((NR * 50 + 99) / 100); r99 = int((NR * 99 + 99) / 100)
    printf "samples %d, median %.1f ms, p99 %.1f ms, max %.1f ms\n", NR, v[r50] / 1000, v[r99] / 1000, v[NR] / 1000
  }'
