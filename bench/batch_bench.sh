#!/usr/bin/env bash
# orvel-batch over ten million steps against the single training step, the cost of the course
# record (with it against --no-record), and the peak memory of 10^8 steps against 10^4.
# Wall times are the best of three: the machine may be shared. Usage: bench/batch_bench.sh BUILD_DIR
set -euo pipefail
build=$(realpath "${1:-build/ci}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# The best of three wall times of a ten-million-step run, in ns a step; arguments are added options.
batch_ns() {
  local best=""
  for _ in 1 2 3; do
    local start=$(date +%s%N)
    "$build/app/orvel-batch" --seed 1 run=10000000 --quiet "$@"
    local ns=$(( $(date +%s%N) - start ))
    if [ -z "$best" ] || [ "$ns" -lt "$best" ]; then best=$ns; fi
  done
  awk -v ns="$best" 'BEGIN { printf "%.1f", ns / 1e7 }'
}

step=$("$build/bench/step_bench" --benchmark_filter='BM_TrainingStep$' --benchmark_min_time=1 \
         --benchmark_format=csv 2>/dev/null | grep '^"BM_TrainingStep"' | cut -d, -f3)
batch=$(batch_ns)
bare=$(batch_ns --no-record)
awk -v step="$step" -v batch="$batch" -v bare="$bare" 'BEGIN {
  printf "single step:          %.1f ns  (%.2fM steps/s)\n", step, 1000 / step
  printf "orvel-batch run=1e7:  %.1f ns a step  (%.2fM steps/s)\n", batch, 1000 / batch
  printf "  with --no-record:   %.1f ns a step\n", bare
  printf "ratio batch/step:     %.2f\n", step / batch
  printf "course record cost:   %.1f%% of the run\n", 100 * (batch - bare) / batch
}'
peak_kib() {
  /usr/bin/time -f %M -o peak "$build/app/orvel-batch" --seed 1 run="$1" --quiet
  cat peak
}
short=$(peak_kib 10000)
long=$(peak_kib 100000000)
echo "peak resident memory: run=10^4 $short KiB, run=10^8 $long KiB, difference $((long - short)) KiB"
