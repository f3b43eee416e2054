#!/bin/sh
#SBATCH --job-name=orvel-shards
#SBATCH --array=0-7
#SBATCH --cpus-per-task=4
# One shard of an ensemble per array task, every task into the same folder on a file system all
# nodes see:  sbatch slurm-shards.sh --seeds 1-200 --dir /shared/md run=200000 check
# The shard count is written out rather than taken from the array: resubmitting some of the tasks
# (--array=2,5) must not change which units each task plays.
exec orvel-batch --jobs "$SLURM_CPUS_PER_TASK" --quiet \
  --shard "$((SLURM_ARRAY_TASK_ID + 1))/8" "$@"
