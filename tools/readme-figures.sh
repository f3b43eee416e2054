#!/usr/bin/env bash
# The README's ensemble experiment: monocular deprivation over 20 seeds at three closed-eye noise
# levels. Writes its figure to docs/ensemble.png and prints the ocular dominance table the README
# quotes. Usage: tools/readme-figures.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
batch="$(realpath "${1:-$root/build/ci}")/app/orvel-batch"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$batch" --seeds 1-20 --closed-noise 0,0.05,0.1 --quiet --dir "$work" \
  run=200000 check right=off run=1000000 check
cp "$work/course.png" "$root/docs/ensemble.png"
# Mean and sample standard deviation of the dominance index per noise level and check.
awk -F, 'NR > 1 { k = $1 " " $5; n[k]++; s[k] += $9; q[k] += $9 * $9 }
  END { for (k in n) printf "%s %.3f %.3f\n", k, s[k] / n[k], sqrt((q[k] - s[k] * s[k] / n[k]) / (n[k] - 1)) }' \
  "$work/summary.csv" | sort -n
