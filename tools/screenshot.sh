#!/usr/bin/env bash
# Makes docs/screenshot.png: the window after some seconds of training with the right eye
# deprived, its Check It Out listing, and the Course window beside it. Runs the program under
# Xvfb and clicks with xdotool.
# Usage: tools/screenshot.sh [path/to/orvel] [seconds of training]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
orvel=$(realpath "${1:-$top/build/ci/app/orvel}")
seconds=${2:-3}
command -v import >/dev/null || apt-get install -y -qq imagemagick >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

XVFB_SCREEN=1280x520x24 "$top/tools/with-xvfb.sh" bash -c '
  set -euo pipefail
  "$0" --seed 42 & pid=$!
  client=$("$3/tools/window-id.sh")
  frame=$("$3/tools/window-id.sh" --frame)
  click() { xdotool mousemove --window "$client" "$1" "$2" click 1; sleep 0.3; }
  sleep 0.5
  xdotool windowmove "$frame" 0 0
  xdotool mousemove --window "$frame" 180 9 click 1; sleep 0.3        # View
  xdotool mousemove --window "$frame" 195 32 click 1; sleep 0.5       # → Course
  course=$(xdotool search --name "Course$" | head -n 1)
  xdotool windowmove "$course" 600 0
  xdotool windowsize "$course" 680 500
  click 500 60     # Start: both eyes see
  sleep "$1"
  click 520 32     # untick Right: the right eye sees only noise
  sleep "$1"
  click 500 92     # Stop
  click 500 156    # Check It Out
  sleep 0.5
  import -window root -crop 1280x500+0+0 "$2"
  kill -TERM "$pid"
  wait "$pid"
' "$orvel" "$seconds" "$top/docs/screenshot.png" "$top"
echo "wrote $top/docs/screenshot.png"
