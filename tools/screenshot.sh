#!/usr/bin/env bash
# Makes docs/screenshot.png: the window after some seconds of training with the right eye
# deprived, and its Check It Out listing. Runs the program under Xvfb and clicks with xdotool.
# Usage: tools/screenshot.sh [path/to/orvel] [seconds of training]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
orvel=$(realpath "${1:-$top/build/ci/app/orvel}")
seconds=${2:-3}
command -v import >/dev/null || apt-get install -y -qq imagemagick >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

"$top/tools/with-xvfb.sh" bash -c '
  set -euo pipefail
  "$0" & pid=$!
  window=$("$3/tools/window-id.sh")
  click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.3; }
  sleep 0.5
  click 520 32     # untick Right: the right eye sees only noise
  click 500 60     # Start
  sleep "$1"
  click 500 92     # Stop
  click 500 156    # Check It Out
  import -window "$window" "$2"
  kill -TERM "$pid"
  wait "$pid"
' "$orvel" "$seconds" "$top/docs/screenshot.png" "$top"
echo "wrote $top/docs/screenshot.png"
