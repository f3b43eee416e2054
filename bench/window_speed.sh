#!/usr/bin/env bash
# The real window at full speed against orvel-batch, in one run: orvel under Xvfb, Start clicked
# with xdotool, Stop clicked 5 s later, the steps counted from its logs; then orvel-batch for the
# same number of steps. Usage: bench/window_speed.sh BUILD_DIR [SECONDS]
set -euo pipefail
build=$(realpath "${1:-build/ci}")
seconds=${2:-5}
top=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${DISPLAY:-}" ]; then exec "$top/tools/with-xvfb.sh" "$0" "$@"; fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

"$build/app/orvel" --seed 1 >/dev/null 2>&1 &
pid=$!
window=$("$top/tools/window-id.sh")
sleep 0.5
xdotool mousemove --window "$window" 500 60 click 1  # Start
start=$(date +%s%N)
sleep "$seconds"
xdotool mousemove --window "$window" 500 92 click 1  # Stop
elapsed=$(( $(date +%s%N) - start ))
sleep 0.3
kill -TERM "$pid"
wait "$pid" || true
# Every logged step is one course row; rows are 100 steps apart at the default.
steps=$(( ($(wc -l < course.csv) - 1) * 100 ))

mkdir batch && cd batch
bstart=$(date +%s%N)
"$build/app/orvel-batch" --seed 1 --quiet run=$steps
belapsed=$(( $(date +%s%N) - bstart ))
awk -v steps="$steps" -v w="$elapsed" -v b="$belapsed" 'BEGIN {
  printf "window:      %d steps in %.2f s: %.2fM steps/s\n", steps, w / 1e9, steps / w * 1e3
  printf "orvel-batch: %d steps in %.2f s: %.2fM steps/s\n", steps, b / 1e9, steps / b * 1e3
  printf "ratio window/batch: %.2f\n", b / w
}'
