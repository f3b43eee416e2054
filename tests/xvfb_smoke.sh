#!/usr/bin/env bash
# The program on a real X server: it shows its 590 x 383 window, runs after a click on Start,
# and on SIGTERM ends every run and exits 0 with all seven logs ending in a whole line.
# Usage: xvfb_smoke.sh path/to/orvel
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
orvel=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

"$top/tools/with-xvfb.sh" bash -c '
  set -euo pipefail
  "$0" & pid=$!
  window=$("$1/tools/window-id.sh")
  sleep 0.5
  geometry=$(xdotool getwindowgeometry "$window" | grep Geometry)
  [[ "$geometry" == *"590x383"* ]] || { echo "client area is $geometry"; exit 1; }
  xdotool mousemove --window "$window" 500 60 click 1
  sleep 1
  kill -TERM "$pid"
  start=$(date +%s%N)
  status=0; wait "$pid" || status=$?
  elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
  echo "exit status $status after $elapsed ms"
  # A hang is the fault; a busy machine or a sanitizer build may take seconds.
  [ "$status" -eq 0 ] && [ "$elapsed" -lt 15000 ]
' "$orvel" "$top"

for log in $("$top/tools/log-names.sh"); do
  [ -f "$log" ] || { echo "$log missing"; exit 1; }
  if [ -s "$log" ] && [ "$(tail -c 1 "$log" | od -An -c | tr -d ' ')" != '\n' ]; then
    echo "$log ends in a partial line"; exit 1
  fi
done
[ "$(wc -l < log.txt)" -ge 10 ] || { echo "the run logged too little: $(wc -l < log.txt) probe lines"; exit 1; }
echo "1 passed, 0 failed"
