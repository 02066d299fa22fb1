#!/usr/bin/env bash
# libzvbi, the peer decoder, and `tolvane text` read every page of every recording in
# ../shared/samples; rows 1-23 of each subpage both hold are compared, mosaic cells left out.
# libzvbi formats the page at Level 1.5, with the characters packets X/26 place (accented
# capitals, G2 and G3), or with --level=1 at Level 1, without them: then what can differ is the
# national subsets alone.
# Prints the share of identical rows per recording and the differing rows with --show.
# Usage: tests/peer/zvbi-page-text.sh [BUILD_DIR] [--level=1] [--show]; exit 1 when a recording
# stays under 99 % identical rows.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build/native
show=0
zvbi_text=--text=1.5
for arg in "$@"; do
  case $arg in
    --show) show=1 ;;
    --level=1) zvbi_text=--text ;;
    --level=1.5) zvbi_text=--text=1.5 ;;
    *) build=$arg ;;
  esac
done
samples=${TOLV_SAMPLES_DIR:-../shared/samples}
tolvane=$build/tools/tolvane/tolvane
zvbi=$build/bench/zvbi_page_cache
demostream=$build/tools/demostream/demostream
for program in "$tolvane" "$zvbi" "$demostream"; do
  [ -x "$program" ] || { echo "SKIPPED: $program is not built (libzvbi-dev gives zvbi_page_cache)"; exit 77; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

status=0
for file in "$samples"/*.ts "$samples"/*.t42; do
  name=$(basename "$file")
  stream=$file
  if [[ $file == *.t42 ]]; then
    stream=$scratch/$name.ts
    "$demostream" --wrap-t42 "$file" -o "$stream"
  fi
  "$zvbi" "$stream" "$zvbi_text" >"$scratch/zvbi.txt"
  # tolvane's text of each subpage libzvbi holds, in the same layout.
  : >"$scratch/tolvane.txt"
  while read -r _ page subcode; do
    echo "page $page $subcode" >>"$scratch/tolvane.txt"
    if ! "$tolvane" text "$file" "$page" "$subcode" >"$scratch/page.txt" 2>/dev/null; then
      echo "absent" >>"$scratch/tolvane.txt"
      continue
    fi
    sed -n '2,24p' "$scratch/page.txt" >>"$scratch/tolvane.txt"
  done < <(grep '^page ' "$scratch/zvbi.txt")
  python3 - "$name" "$scratch/zvbi.txt" "$scratch/tolvane.txt" "$show" <<'PY' || status=1
import sys
name, zvbi_path, tolvane_path, show = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4] == "1"
MOSAIC = "\ufffc"

# Each subpage: its "page PPP SSSS" line, then its rows 1-23 (or "absent").
def subpages(path):
    pages, key = {}, None
    for line in open(path, encoding="utf-8").read().split("\n"):
        if line.startswith("page "):
            key = line[5:]
            pages[key] = []
        elif key is not None:
            pages[key].append(line)
    return {k: v[:23] for k, v in pages.items()}

zvbi, tolvane = subpages(zvbi_path), subpages(tolvane_path)
rows = same = dash = absent = 0
for key, peer_rows in zvbi.items():
    ours = tolvane.get(key, [])
    if ours[:1] == ["absent"]:
        absent += 1
        continue
    for number, peer in enumerate(peer_rows, start=1):
        own = (ours[number - 1] if number - 1 < len(ours) else "").ljust(40)
        keep = [c for c in range(40) if c < len(peer) and peer[c] != MOSAIC]
        if not keep:
            continue
        rows += 1
        if all(own[c:c + 1] == peer[c] for c in keep):
            same += 1
        # libzvbi gives the English 0x60 as U+2014 (em dash), tolvane as U+2015 (horizontal bar).
        elif all(own[c:c + 1] == peer[c] or (peer[c] == "\u2014" and own[c:c + 1] == "\u2015") for c in keep):
            dash += 1
        elif show:
            print(f"{name} {key} row {number}\n  libzvbi {peer.replace(MOSAIC, '.')!r}\n  tolvane {own!r}")
share = 100.0 * (same + dash) / rows if rows else 100.0
print(f"{name}: {same + dash} of {rows} rows identical ({share:.2f} %; {dash} of them but for the English dash), "
      f"{len(zvbi)} subpages" + (f", {absent} not stored by tolvane" if absent else ""))
sys.exit(0 if share >= 99.0 else 1)
PY
done
exit $status
