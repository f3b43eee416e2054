#!/usr/bin/env bash
# Long runs with resident memory sampled every few seconds: orvel-batch over 10^8 steps, and the
# window training under Xvfb for WINDOW_SECONDS (default 600). Memory must stay flat after the
# first second. Usage: bench/endurance.sh [BUILD_DIR]   (not part of CI: it takes minutes)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-build/ci}")
window_seconds=${WINDOW_SECONDS:-600}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export XDG_RUNTIME_DIR=$work

rss() { awk '/^VmRSS/ { print $2 }' "/proc/$1/status" 2>/dev/null || true; }

# Samples $pid's resident memory every $1 seconds while it lives; prints the spread after the
# first second.
watch_memory() {
  local every=$1 label=$2 start=$(date +%s) samples=()
  sleep 1
  while kill -0 "$pid" 2>/dev/null; do
    local now=$(rss "$pid")
    [ -n "$now" ] && samples+=("$now") && echo "$label  t=$(( $(date +%s) - start ))s  rss=${now} KiB"
    sleep "$every"
  done
  printf '%s\n' "${samples[@]}" | sort -n | awk -v label="$label" '
    NR == 1 { low = $1 } { high = $1 }
    END { printf "%s: %d samples, resident %d..%d KiB, spread %d KiB\n", label, NR, low, high, high - low }'
}

"$build/app/orvel-batch" --seed 1 run=100000000 --quiet &
pid=$!
watch_memory 2 orvel-batch
wait "$pid"

"$top/tools/with-xvfb.sh" bash -c '
  "$0" & pid=$!
  window=$("$2/tools/window-id.sh")
  xdotool mousemove --window "$window" 500 60 click 1
  echo $pid > window.pid
  sleep "$1"
  kill -TERM $pid
  wait $pid
' "$build/app/orvel" "$window_seconds" "$top" &
runner=$!
while [ ! -s window.pid ]; do sleep 0.1; done
pid=$(cat window.pid)
watch_memory 5 window
wait "$runner"
