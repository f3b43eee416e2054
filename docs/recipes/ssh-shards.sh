#!/bin/sh
# One shard of an ensemble per machine, over ssh with GNU parallel, into a folder every machine
# sees at the same absolute path, then its summary:
#   ssh-shards.sh node1,node2,node3 /shared/md --seeds 1-200 run=200000 check
# -j1: one shard at a time on each machine, which plays its units on all of that machine's cores.
# The exit status is parallel's, the number of shards that failed.
set -eu
hosts=$1
dir=$2
shift 2
shards=$(echo "$hosts" | tr , '\n' | wc -l)
mkdir -p "$dir"
parallel -S "$hosts" -j1 orvel-batch --quiet --shard {}/"$shards" --dir "$dir" "$@" \
  ::: $(seq "$shards") &&
  orvel-batch --summarize "$dir"
