#!/usr/bin/env bash
# orvel-batch of two builds side by side, ten million steps with every log and the course record,
# alternating and taking the best of three of each; and the training step against the literal
# threshold's in the newer build. Usage: bench/speedup_bench.sh OLD_BUILD_DIR NEW_BUILD_DIR
set -euo pipefail
old=$(realpath "$1")
new=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

batch_of() { [ -x "$1/app/orvel-batch" ] && echo "$1/app/orvel-batch" || echo "$1/orvel-batch"; }
best_old=0 best_new=0
for _ in 1 2 3; do
  for which in old new; do
    build=${!which}
    start=$(date +%s%N)
    "$(batch_of "$build")" --seed 1 --quiet run=10000000
    ns=$(( $(date +%s%N) - start ))
    best=best_$which
    if [ "${!best}" -eq 0 ] || [ "$ns" -lt "${!best}" ]; then printf -v "$best" %s "$ns"; fi
  done
done
"$new/bench/step_bench" --benchmark_filter='BM_TrainingStep(Literal)?$' --benchmark_min_time=1 \
  --benchmark_format=csv 2>/dev/null | grep '^"BM_TrainingStep' >steps.csv
awk -F, -v old="$best_old" -v new="$best_new" '
  $1 == "\"BM_TrainingStep\"" { step = $4 }
  $1 == "\"BM_TrainingStepLiteral\"" { literal = $4 }
  END {
    printf "orvel-batch run=1e7, old: %.2fM steps/s\n", 1e10 / old
    printf "orvel-batch run=1e7, new: %.2fM steps/s\n", 1e10 / new
    printf "speed-up new/old:         %.2f\n", old / new
    printf "training step:            %.1f ns CPU (%.2fM steps/s)\n", step, 1000 / step
    printf "literal-threshold step:   %.1f ns CPU (%.3fM steps/s)\n", literal, 1000 / literal
    printf "orvel-batch new / literal step: %.0f\n", 1e7 * literal / new
  }' steps.csv
