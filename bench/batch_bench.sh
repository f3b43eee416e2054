#!/usr/bin/env bash
# orvel-batch over ten million steps against the single training step, in one run; the same run
# without its course record (course.csv and run.json); and its peak memory against a run a
# thousand times shorter. Usage: bench/batch_bench.sh BUILD_DIR
set -euo pipefail
build=$(realpath "${1:-build/ci}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

step=$("$build/bench/step_bench" --benchmark_filter='BM_TrainingStep$' --benchmark_min_time=1 \
         --benchmark_format=csv 2>/dev/null | grep '^"BM_TrainingStep"' | cut -d, -f3)
# Nanoseconds a step of a ten-million-step run, the best of three, with the extra options given.
batch_ns() {
  local best=0
  for _ in 1 2 3; do
    local start=$(date +%s%N)
    "$build/app/orvel-batch" --seed 1 run=10000000 --quiet "$@"
    local ns=$(( ($(date +%s%N) - start) / 10000000 ))
    [ "$best" -eq 0 ] || [ "$ns" -lt "$best" ] && best=$ns
  done
  echo "$best"
}
with_record=$(batch_ns)
without_record=$(batch_ns --no-record)
awk -v step="$step" -v batch="$with_record" -v bare="$without_record" 'BEGIN {
  printf "single step:                    %.1f ns  (%.2fM steps/s)\n", step, 1000 / step
  printf "orvel-batch run=1e7:            %.1f ns a step  (%.2fM steps/s)\n", batch, 1000 / batch
  printf "  without the course record:    %.1f ns a step  (%.2fM steps/s)\n", bare, 1000 / bare
  printf "ratio batch/step:               %.2f\n", step / batch
  printf "cost of the record:             %.1f%%\n", 100 * (batch - bare) / bare
}'
for steps in 10000 10000000; do
  /usr/bin/time -f "peak resident memory of run=$steps: %M KiB" \
    "$build/app/orvel-batch" --seed 1 run=$steps --quiet
done
