#!/bin/sh
# Installs the Debian packages the build, the tests and the benchmarks need, and only those that
# are missing: with everything present it touches neither apt nor the network.
set -eu

packages="g++ make cmake ninja-build pkgconf time libgtest-dev libbenchmark-dev
  libjpeg-dev libpng-dev nlohmann-json3-dev qt6-base-dev qt6-charts-dev qt6-svg-dev
  libqt6opengl6-dev parallel fonts-liberation locales xvfb xauth xdotool imagemagick
  dpkg-dev desktop-file-utils appstream clang clang-tidy cppcheck libclang-rt-14-dev linux-perf
  python3-dev pybind11-dev python3-pybind11 python3-numpy python3-pytest
  jupyter-nbconvert python3-ipykernel python3-matplotlib help2man man-db lintian
  slurm-wlm munge openssh-server openssh-client"

missing=""
for package in $packages; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  case "$status" in
    *"install ok installed"*) ;;
    *) missing="$missing $package" ;;
  esac
done

# The tests check that numbers keep their full stop under a German locale.
ensure_german_locale() {
  locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$' && return 0
  echo "generating the de_DE.UTF-8 locale" >&2
  $as_root sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
  $as_root locale-gen >/dev/null
}

as_root=""
[ "$(id -u)" -eq 0 ] || as_root="sudo"

if [ -z "$missing" ]; then
  ensure_german_locale
  exit 0
fi

echo "installing:$missing" >&2
$as_root apt-get update -qq
DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y -qq --no-install-recommends $missing
ensure_german_locale
