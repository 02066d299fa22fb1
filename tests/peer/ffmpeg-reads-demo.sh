#!/usr/bin/env bash
# A peer decoder (ffmpeg with libzvbi) reads page 100 of the demo stream.
# Usage: ffmpeg-reads-demo.sh DEMO.ts
set -euo pipefail
demo=$1
if ! command -v ffmpeg >/dev/null; then
  echo "SKIPPED: ffmpeg is not installed (scripts/install-deps.sh installs it)"
  exit 77
fi
text=$(timeout 60 ffmpeg -hide_banner -loglevel error -fix_teletext_pts 0 -txt_format text -txt_page 100 \
  -txt_duration 5000 -i "$demo" -map 0:s:0 -f srt - 2>&1)
status=0
for line in "Tol-Vane Demotext" "Willkommen! Diese Seiten hat Tol-Vane" "101 Alle Farben" \
  "102 Mosaikbild: Sonne über den Hügeln" "Eingabe: zurück zu Seite 100"; do
  if ! grep -qF "$line" <<<"$text"; then
    echo "ffmpeg did not read: $line"
    status=1
  fi
done
[ $status -eq 0 ] || { echo "ffmpeg printed:"; echo "$text" | head -40; }
exit $status
