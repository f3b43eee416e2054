#!/bin/bash
# The README's recipes for many machines, run for real: the Slurm job array on a one-node cluster
# and GNU parallel over ssh to this machine, both started here from tools/. Each must leave the
# ensemble folder an unsharded run leaves. Beside them, two rebuilds of one summary that race.
#   tests/cluster/cluster_test.sh BUILD_DIR   (as root, for slurmd to start jobs)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
export PATH="$(cd "$1" && pwd)/app:$PATH"
work=$(mktemp -d)
ensemble=(--seeds 1-4 --closed-noise 0,0.1 run=3000 check right=off run=2000 check)

cleanup() {
  "$root/tools/slurm-cluster.sh" stop "$work/slurm" || true
  "$root/tools/loopback-sshd.sh" stop "$work/sshd" || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The README shows each recipe as it is, in the block after its "<!-- recipe: PATH -->" line.
expect_shown() {
  awk -v marker="<!-- recipe: $1 -->" '
    $0 == marker { found = 1; next }
    found == 1 && /^```/ { found = 2; next }
    found == 2 && /^```/ { exit }
    found == 2 { print }' "$root/README.md" | diff -u "$root/$1" - >&2 ||
    fail "README.md does not show $1 as it is"
}

# Folder b holds exactly folder a's files, run.json compared without its start time and folder.
expect_same_ensemble() {
  /usr/bin/python3 - "$1" "$2" <<'PY' || fail "$2 is not the unsharded ensemble"
import json, os, sys
a, b = sys.argv[1:]
def names(top):
    return sorted(os.path.relpath(os.path.join(d, f), top) for d, _, fs in os.walk(top) for f in fs)
def content(path):
    data = open(path, "rb").read()
    if os.path.basename(path) != "run.json":
        return data
    record = json.loads(data)
    del record["start_time"], record["log_folder"]
    return record
if names(a) != names(b):
    sys.exit("files differ: %s" % sorted(set(names(a)) ^ set(names(b))))
differing = [n for n in names(a) if content(os.path.join(a, n)) != content(os.path.join(b, n))]
if differing:
    sys.exit("contents differ: %s" % differing)
PY
}

# Waits for a job to end, true when it completed; false at once when it waits on a dependency
# that failed. Not sbatch --wait: it asks ever more rarely, and would triple the phase.
await_job() {
  local state tries=0
  while state=$(scontrol show job -o "$1" | grep -o 'JobState=[A-Z_]*\|Reason=[A-Za-z]*'); do
    case $state in
      *=COMPLETED*) return 0 ;;
      *=DependencyNeverSatisfied*) return 1 ;;
      *=PENDING* | *=CONFIGURING* | *=RUNNING* | *=COMPLETING*) ;;
      *) return 1 ;;
    esac
    tries=$((tries + 1))
    [ $tries -lt 3000 ] || return 1
    sleep 0.1
  done
  return 1
}

# The array goes in two parts, as when failed tasks are resubmitted: each task must still play
# the units of its shard of 8.
test_slurm_array() {
  "$root/tools/slurm-cluster.sh" start "$work/slurm"
  . "$work/slurm/env"
  local dir=$work/by-slurm first rest summary job
  first=$(submit_shards --array=0-4)
  rest=$(submit_shards --array=5-7)
  summary=$(sbatch --parsable --chdir="$work" --dependency="afterok:$first:$rest" \
    --output="$work/summary.out" --wrap "orvel-batch --summarize $dir")
  await_job "$summary" || {
    for job in "$first" "$rest" "$summary"; do
      scontrol show job -o "$job" | grep -o 'JobId=[^ ]*\|JobState=[^ ]*\|Reason=[^ ]*' >&2
    done
    tail -n 5 "$work"/*.out >&2
    fail "the summary job after the array did not complete"
  }
  expect_same_ensemble "$work/whole" "$dir"
}

submit_shards() {
  sbatch --parsable --chdir="$work" --cpus-per-task=1 --output="$work/shard-%a.out" "$1" \
    "$root/docs/recipes/slurm-shards.sh" "${ensemble[@]}" --dir "$work/by-slurm"
}

test_parallel_over_ssh() {
  "$root/tools/loopback-sshd.sh" start "$work/sshd" "$PATH"
  PARALLEL_SSH="ssh -F $work/sshd/ssh_config" "$root/docs/recipes/ssh-shards.sh" \
    localhost-1,localhost-2,localhost-3 "$work/by-ssh" "${ensemble[@]}" ||
    fail "the ssh recipe failed"
  expect_same_ensemble "$work/whole" "$work/by-ssh"
}

# A rebuild that finds another holding the summary's lock waits, and then sees the unit that
# completed meanwhile: were it to look first, the other's summary could be replaced by one
# without that unit.
test_racing_summaries() {
  local dir=$work/race unit=closed-noise=0.1/seed-4 pid
  cp -r "$work/whole" "$dir"
  rm "$dir/summary.csv"
  mv "$dir/$unit/complete" "$work/complete"
  exec 9>"$dir/.summary.lock"
  flock 9
  orvel-batch --summarize "$dir" 2>/dev/null 9>&- &
  pid=$!
  until grep -Eq -- "-> FLOCK +ADVISORY +WRITE +$pid " /proc/locks; do
    [ ! -e "$dir/summary.csv" ] || fail "--summarize did not wait for the lock another held"
    sleep 0.05
  done
  mv "$work/complete" "$dir/$unit/complete"
  exec 9>&-
  wait "$pid" || fail "--summarize failed"
  cmp "$work/whole/summary.csv" "$dir/summary.csv" || fail "the waiting summary missed a unit"
}

expect_shown docs/recipes/slurm-shards.sh
expect_shown docs/recipes/ssh-shards.sh
orvel-batch --quiet --dir "$work/whole" "${ensemble[@]}"
for test in test_racing_summaries test_slurm_array test_parallel_over_ssh; do
  echo "$test" >&2
  "$test"
done
echo "all passed" >&2
