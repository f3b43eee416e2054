#!/bin/sh
# Makes docs/course.png, the README's figure of its monocular-deprivation example, with the very
# actions the README shows. Usage: tools/course-figure.sh [BUILD_DIR]
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
batch=${1:-$top/build/ci}/app/orvel-batch
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sed -n "/^cat > deprivation.txt <<'ACTIONS'$/,/^ACTIONS$/p" "$top/README.md" | sed '1d;$d' \
  >"$work/deprivation.txt"
[ -s "$work/deprivation.txt" ] || { echo "the README lost its example" >&2; exit 1; }
"$batch" --seed 42 --dir "$work" --quiet --course "$top/docs/course.png" @"$work/deprivation.txt" \
  >/dev/null
echo "wrote $top/docs/course.png"
