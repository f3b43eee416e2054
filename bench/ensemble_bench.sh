#!/usr/bin/env bash
# An ensemble of 8 units of 10^6 steps with one job and with two, in one run: the whole command,
# and its units alone (from the start to the last unit's completion marker; the summary and the
# figure that follow are drawn once, whatever the jobs). Best of three of each, alternating, since
# the machine may be shared. Then what bounds the speed-up on this machine: the processor time one
# job's units take (a unit's log writer runs beside its steps, so one job already keeps more than
# one core busy) and the summary and figure, timed alone with --summarize. Last, the peak memory
# of 1,000 tiny units against 10: units are played and let go, so memory must not grow with them.
# Usage: bench/ensemble_bench.sh BUILD_DIR [STEPS_PER_UNIT]
set -euo pipefail
build=$(realpath "${1:-build/ci}")
steps=${2:-1000000}
batch="$build/app/orvel-batch"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Prints "WHOLE UNITS CPU TAIL TAIL_CPU" in seconds for an ensemble with $1 jobs: wall time of the
# command and of its units, the processor time of the command (all threads), and the wall and
# processor time of summarizing its folder again.
ensemble_seconds() {
  local dir="$work/jobs-$1-$RANDOM"
  mkdir "$dir"
  local start=$(date +%s.%N)
  /usr/bin/time -f "%U %S" -o "$work/cpu" \
    "$batch" --seeds 1-8 --jobs "$1" --quiet --dir "$dir" run="$steps"
  local end=$(date +%s.%N)
  local units=$(find "$dir" -name complete -printf '%T@\n' | sort -n | tail -n 1)
  /usr/bin/time -f "%e %U %S" -o "$work/tail" "$batch" --summarize "$dir"
  rm -rf "$dir"
  paste -d ' ' "$work/cpu" "$work/tail" | awk -v s="$start" -v e="$end" -v u="$units" \
    '{ printf "%.3f %.3f %.3f %.3f %.3f\n", e - s, u - s, $1 + $2, $3, $4 + $5 }'
}

for _ in 1 2 3; do
  echo "1 $(ensemble_seconds 1)"
  echo "2 $(ensemble_seconds 2)"
done | awk -v steps="$((8 * steps))" '
  { if (!($1 in whole) || $2 < whole[$1]) { whole[$1] = $2; busy[$1] = $4 / $2 }
    if (!($1 in units) || $3 < units[$1]) { units[$1] = $3; unitsCpu[$1] = $4 - $6 }
    if (!(tail) || $5 < tail) tail = $5 }
  END {
    for (j = 1; j <= 2; ++j) {
      printf "8 units x %d steps, --jobs %d: %.2f s whole (%.2fM steps/s), units alone %.2f s (%.2fM steps/s), %.2f cores busy\n",
        steps / 8, j, whole[j], steps / whole[j] / 1e6, units[j], steps / units[j] / 1e6, busy[j]
    }
    printf "speed-up of two jobs: whole command %.2f, units alone %.2f\n",
      whole[1] / whole[2], units[1] / units[2]
    oneJob = unitsCpu[1] / units[1]
    twoJobs = (unitsCpu[1] / 2 > units[1] / 2) ? unitsCpu[1] / 2 : units[1] / 2
    printf "bound on two cores: one job'"'"'s units keep %.2f cores busy, so two jobs gain at most %.2f on the units; the summary and figure take %.2f s alone, so at most %.2f on the whole command\n",
      oneJob, units[1] / twoJobs, tail, whole[1] / (twoJobs + tail)
  }'
for units in 10 1000; do
  mkdir "$work/tiny-$units"
  /usr/bin/time -f "peak resident memory of $units units of run=1: %M KiB" \
    "$batch" --seeds "1-$units" --quiet --dir "$work/tiny-$units" run=1
done
