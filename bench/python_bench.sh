#!/usr/bin/env bash
# The Python module's Session.run(10**7) against orvel-batch --logs none doing the same work (the
# same steps, the probe at every logged step, no files), alternating and taking the best of
# three of each: the machine may be shared. Python is timed around run() alone and as a whole
# process, start-up and import included. Usage: bench/python_bench.sh BUILD_DIR
set -euo pipefail
build=$(realpath "${1:-build/ci}")
if ! ls "$build"/python/orvel*.so >/dev/null 2>&1; then
  echo "python_bench: no Python module in $build/python; skipped"
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
steps=10000000
export PYTHONPATH="$build/python"

best_batch=0 best_run=0 best_process=0
keep_best() { if [ "${!1}" -eq 0 ] || [ "$2" -lt "${!1}" ]; then printf -v "$1" %s "$2"; fi; }
for _ in 1 2 3; do
  start=$(date +%s%N)
  "$build/app/orvel-batch" --seed 1 --quiet --logs none run=$steps
  keep_best best_batch $(( $(date +%s%N) - start ))
  start=$(date +%s%N)
  run_ns=$(/usr/bin/python3 -c "
import time, orvel
s = orvel.Session(1)
start = time.perf_counter_ns()
s.run($steps)
print(time.perf_counter_ns() - start)")
  keep_best best_process $(( $(date +%s%N) - start ))
  keep_best best_run "$run_ns"
done
awk -v batch="$best_batch" -v run="$best_run" -v process="$best_process" -v steps=$steps 'BEGIN {
  printf "orvel-batch --logs none run=1e7:  %.1f ns a step\n", batch / steps
  printf "Session.run(10**7):               %.1f ns a step\n", run / steps
  printf "  the whole Python process:       %.1f ns a step\n", process / steps
  printf "speed Python/orvel-batch:         %.3f (run alone), %.3f (whole process)\n",
         batch / run, batch / process
}'
