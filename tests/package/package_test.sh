#!/usr/bin/env bash
# Installs the Debian package on this machine as a user would, checks what it put where, starts
# the window and orvel-batch from it, and removes it again. Needs root.
# Usage: package_test.sh path/to/orvel_VERSION_ARCH.deb
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
deb=$(realpath "$1")
fail() { echo "FAIL: $*"; exit 1; }

# Debian's own checks of a package; any error or warning fails. (Its note that root should not
# run it does not apply to reading a file.)
lintian --fail-on error,warning "$deb" 2>/dev/null || fail "lintian: $(lintian "$deb" 2>/dev/null)"

apt-get install -y -qq "$deb" >/dev/null
trap 'apt-get remove -y -qq orvel >/dev/null' EXIT

for file in /usr/bin/orvel /usr/bin/orvel-batch \
            /usr/share/applications/org.bcmorvel.Orvel.desktop \
            /usr/share/metainfo/org.bcmorvel.Orvel.metainfo.xml \
            /usr/share/icons/hicolor/128x128/apps/org.bcmorvel.Orvel.png; do
  [ -e "$file" ] || fail "$file was not installed"
done
desktop-file-validate /usr/share/applications/org.bcmorvel.Orvel.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.bcmorvel.Orvel.metainfo.xml >/dev/null

# grep reads it all: -q would close the pipe under a help longer than one write, failing the pipe.
/usr/bin/orvel-batch --help | grep '^usage: orvel-batch' >/dev/null || fail "orvel-batch --help"

for program in orvel orvel-batch; do
  [ "$(man -w "$program")" = "/usr/share/man/man1/$program.1.gz" ] || fail "man $program"
done

# The lessons that ship play from where they are installed, and the guide is beside the copyright.
[ "$(ls /usr/share/orvel/lessons/*.txt | wc -l)" = 6 ] || fail "the six lessons were not installed"
[ -f /usr/share/doc/orvel/guide.md ] || fail "the guide was not installed"
played=$(mktemp -d)
(cd "$played" && /usr/bin/orvel-batch --seed 1 --logs none --quiet \
  @/usr/share/orvel/lessons/2-monocular-deprivation.txt >/dev/null) || fail "an installed lesson"
rm -rf "$played"

# The system's Python finds the installed module, not the build's.
ls /usr/lib/python3/dist-packages/orvel*.so >/dev/null || fail "the Python module was not installed"
(cd / && env -u PYTHONPATH /usr/bin/python3 -c '
import orvel
assert orvel.__file__.startswith("/usr/lib/python3/dist-packages/"), orvel.__file__
s = orvel.Session(1)
s.run(1000)
assert s.trained_steps == 1000 and s.check().shape == (12, 3)
') || fail "the installed Python module does not import and run"

work=$(mktemp -d)
cd "$work"
export XDG_RUNTIME_DIR=$work
"$top/tools/with-xvfb.sh" bash -c '
  orvel & pid=$!
  "$0/tools/window-id.sh" >/dev/null || exit 1
  kill -TERM $pid
  wait $pid
' "$top" || fail "the installed window did not start and end cleanly"
[ -f "$work/log.txt" ] || fail "the installed window wrote no logs"
cd / && rm -rf "$work"
echo "1 passed, 0 failed"
