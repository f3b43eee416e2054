#!/usr/bin/env bash
# orvel-batch over ten million steps against the single training step, in one run, and its peak
# memory against a run a thousand times shorter. Usage: bench/batch_bench.sh BUILD_DIR
set -euo pipefail
build=$(realpath "${1:-build/ci}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

step=$("$build/bench/step_bench" --benchmark_filter='BM_TrainingStep$' --benchmark_min_time=1 \
         --benchmark_format=csv 2>/dev/null | grep '^"BM_TrainingStep"' | cut -d, -f3)
start=$(date +%s%N)
"$build/app/orvel-batch" --seed 1 run=10000000 --quiet
batch_ns=$(( ($(date +%s%N) - start) / 10000000 ))
awk -v step="$step" -v batch="$batch_ns" 'BEGIN {
  printf "single step:          %.1f ns  (%.2fM steps/s)\n", step, 1000 / step
  printf "orvel-batch run=1e7:  %.1f ns a step  (%.2fM steps/s)\n", batch, 1000 / batch
  printf "ratio batch/step:     %.2f\n", step / batch
}'
for steps in 10000 10000000; do
  /usr/bin/time -f "peak resident memory of run=$steps: %M KiB" \
    "$build/app/orvel-batch" --seed 1 run=$steps --quiet
done
