#!/usr/bin/env bash
# Each manual page renders, and names every option its program's --help names.
# Usage: man_pages.sh PROGRAM PAGE.1.gz
set -euo pipefail
program=$1 page=$2
export LC_ALL=C MANWIDTH=200
shown=$(man --no-hyphenation --no-justification -l "$page")
grep -q '^NAME' <<<"$shown" && grep -q '^SYNOPSIS' <<<"$shown" || { echo "FAIL: $page has no NAME or SYNOPSIS"; exit 1; }
missing=0
for option in $("$program" --help | grep -oE -- '--[a-z0-9][a-z0-9-]*' | sort -u); do
  grep -qF -- "$option" <<<"$shown" || { echo "FAIL: $page does not name $option"; missing=1; }
done
exit $missing
