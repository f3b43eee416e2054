#!/usr/bin/env bash
# The real window at full speed against orvel-batch, in one run: orvel under Xvfb, Start clicked
# with xdotool, Stop clicked SECONDS later, the steps counted from its logs; then orvel-batch for
# the same number of steps. Three rounds, alternating, and the best rate of each program: the
# machine may be shared, and a neighbour's burst must not decide the ratio.
# Usage: bench/window_speed.sh BUILD_DIR [SECONDS] [ROUNDS]
set -euo pipefail
build=$(realpath "${1:-build/ci}")
seconds=${2:-5}
rounds=${3:-3}
top=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${DISPLAY:-}" ]; then exec "$top/tools/with-xvfb.sh" "$0" "$@"; fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Prints "STEPS NANOSECONDS" of a window run in the folder $1.
window_run() {
  cd "$1"
  "$build/app/orvel" --seed 1 >/dev/null 2>&1 &
  local pid=$!
  local window
  window=$("$top/tools/window-id.sh")
  sleep 0.5
  xdotool mousemove --window "$window" 500 60 click 1  # Start
  local start=$(date +%s%N)
  sleep "$seconds"
  xdotool mousemove --window "$window" 500 92 click 1  # Stop
  local elapsed=$(( $(date +%s%N) - start ))
  sleep 0.3
  kill -TERM "$pid"
  wait "$pid" || true
  # Every logged step is one course row; rows are 100 steps apart at the default.
  echo "$(( ($(wc -l < course.csv) - 1) * 100 )) $elapsed"
}

# Prints the nanoseconds orvel-batch takes for $2 steps in the folder $1.
batch_run() {
  cd "$1"
  local start=$(date +%s%N)
  "$build/app/orvel-batch" --seed 1 --quiet run="$2"
  echo $(( $(date +%s%N) - start ))
}

for round in $(seq "$rounds"); do
  mkdir "$work/window-$round" "$work/batch-$round"
  read -r steps elapsed < <(window_run "$work/window-$round")
  batch=$(batch_run "$work/batch-$round" "$steps")
  echo "$steps $elapsed $batch"
done | awk '{
  window = $1 / $2 * 1e3; batch = $1 / $3 * 1e3
  printf "round %d: window %.2fM steps/s, orvel-batch %.2fM steps/s (%d steps)\n", NR, window, batch, $1
  if (window > best_window) best_window = window
  if (batch > best_batch) best_batch = batch
} END {
  printf "best window:      %.2fM steps/s\n", best_window
  printf "best orvel-batch: %.2fM steps/s\n", best_batch
  printf "ratio window/batch: %.2f\n", best_window / best_batch
}'
