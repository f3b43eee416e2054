#!/usr/bin/env bash
# An ensemble of 8 units of 10^6 steps with one job and with two, in one run, and the peak memory
# of 1,000 tiny units against 10: units are played and let go, so memory must not grow with them.
# Usage: bench/ensemble_bench.sh BUILD_DIR
set -euo pipefail
build=$(realpath "${1:-build/ci}")
batch="$build/app/orvel-batch"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

seconds() {  # seconds the command takes
  local start=$(date +%s%N)
  "$@"
  echo $(( $(date +%s%N) - start )) | awk '{ printf "%.3f", $1 / 1e9 }'
}
steps=$((8 * 1000000))
one=$(seconds "$batch" --seeds 1-8 --jobs 1 --quiet --dir "$(mkdir "$work/one" && echo "$work/one")" run=1000000)
two=$(seconds "$batch" --seeds 1-8 --jobs 2 --quiet --dir "$(mkdir "$work/two" && echo "$work/two")" run=1000000)
awk -v one="$one" -v two="$two" -v steps="$steps" 'BEGIN {
  printf "8 units x 10^6 steps, --jobs 1:  %.2f s  (%.2fM steps/s)\n", one, steps / one / 1e6
  printf "8 units x 10^6 steps, --jobs 2:  %.2f s  (%.2fM steps/s)\n", two, steps / two / 1e6
  printf "speed-up of two jobs:            %.2f\n", one / two
}'
for units in 10 1000; do
  mkdir "$work/tiny-$units"
  /usr/bin/time -f "peak resident memory of $units units of run=1: %M KiB" \
    "$batch" --seeds "1-$units" --quiet --dir "$work/tiny-$units" run=1
done
