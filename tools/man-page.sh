#!/bin/sh
# Writes PROGRAM's manual page from its own --help and --version, so the two cannot drift apart.
# help2man finds the synopsis by "Usage:" and "or:", which the help spells "usage:" and indents.
# Usage: man-page.sh PROGRAM "WHAT IT DOES" OUT.1.gz
set -eu
program=$1 summary=$2 out=$3
name=$(basename "$program")
wrapper=$(mktemp -d)
trap 'rm -rf "$wrapper"' EXIT
cat >"$wrapper/$name" <<WRAPPER
#!/bin/sh
"$(realpath "$program")" "\$@" | sed '1s/^usage:/Usage:/; 2,3s/^       $name /  or:  $name /'
WRAPPER
chmod +x "$wrapper/$name"
help2man --no-info --section 1 --name "$summary" --output "$wrapper/$name.1" "$wrapper/$name"
gzip -9n <"$wrapper/$name.1" >"$out"
