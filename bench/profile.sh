#!/usr/bin/env bash
# Where orvel-batch spends its time: a perf profile of ten million steps with every log and the
# course record, its ten busiest functions over all threads. Usage: bench/profile.sh BUILD_DIR
set -euo pipefail
build=$(realpath "${1:-build/ci}")
if ! command -v perf >/dev/null; then
  echo "perf is not installed (Debian: linux-perf); no profile" >&2
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
perf record -q -o perf.data "$build/app/orvel-batch" --seed 1 --quiet run=10000000 2>/dev/null
echo "perf profile of orvel-batch --seed 1 --quiet run=10000000 (self time, all threads):"
perf report -i perf.data --stdio --no-children --sort symbol 2>/dev/null |
  grep -E '^ +[0-9.]+%' | sed -E 's/[ -]*$//' | head -n 10
