#!/usr/bin/env bash
# Builds orvel-batch of an older commit in a folder of its own under build/, once, for speed-ups
# measured side by side with the current build; prints that build's folder.
# Usage: bench/base_build.sh COMMIT
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$top" rev-parse --short "$1")
source="$top/build/base-$commit"
if [ ! -x "$source/build/ci/app/orvel-batch" ]; then
  rm -rf "$source"
  mkdir -p "$source"
  git -C "$top" archive "$commit" | tar -x -C "$source"
  (cd "$source" && cmake --preset ci >/dev/null && cmake --build --preset ci --target orvel-batch >/dev/null)
fi
echo "$source/build/ci"
