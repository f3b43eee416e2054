#!/bin/sh
# Installs the Debian packages the build, the tests and the benchmarks need, and only those that
# are missing: with everything present it touches neither apt nor the network.
set -eu

packages="g++ make cmake ninja-build pkgconf time libgtest-dev libbenchmark-dev"

missing=""
for package in $packages; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  case "$status" in
    *"install ok installed"*) ;;
    *) missing="$missing $package" ;;
  esac
done

[ -z "$missing" ] && exit 0

echo "installing:$missing" >&2
as_root=""
[ "$(id -u)" -eq 0 ] || as_root="sudo"
$as_root apt-get update -qq
DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y -qq --no-install-recommends $missing
