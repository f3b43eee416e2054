#!/usr/bin/env bash
# The window on small and scaled screens: at 640 x 480, and at scale factor 2 (on a screen of
# 1280 x 960, 640 x 480 logical), the whole client area lies on the screen, so every control can
# be seen and clicked. Screenshots are kept in ARTIFACTS for a person to look at.
# Usage: xvfb_fit.sh path/to/orvel ARTIFACTS
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
orvel=$(realpath "$1")
mkdir -p "$2"
artifacts=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

check() {  # name screen scale
  XVFB_SCREEN=$2 QT_SCALE_FACTOR=$3 "$top/tools/with-xvfb.sh" bash -c '
    set -euo pipefail
    "$0" --seed 1 2>/dev/null & pid=$!
    client=$("$1/tools/window-id.sh")
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$client")"
    read -r screen_w screen_h < <(xdotool getdisplaygeometry)
    import -window root "$2"
    kill -TERM "$pid"; wait "$pid"
    echo "client ${WIDTH}x${HEIGHT} at $X,$Y on ${screen_w}x${screen_h}"
    [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le "$screen_w" ] &&
      [ $((Y + HEIGHT)) -le "$screen_h" ] || { echo "the client area leaves the screen"; exit 1; }
  ' "$orvel" "$top" "$artifacts/$1.png"
}

check screen-640x480 640x480x24 1
check scale-2 1280x960x24 2
echo "2 passed, 0 failed"
