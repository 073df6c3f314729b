#!/usr/bin/env bash
# Installs the Debian packages that building, the demo and the tests need,
# when they are missing. Usage: setup.sh build|demo|test
set -euo pipefail

build=(cmake ninja-build g++ pkg-config zlib1g-dev libfltk1.3-dev libx11-dev)
demo=(xvfb xdotool imagemagick x11-utils fonts-liberation fonts-dejavu-core)
test=(googletest libgtest-dev g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev
      clang libclang-rt-14-dev zip unzip libarchive-tools golang-1.19-src libpython3.11-testsuite
      librust-zip-dev python3 clang-format time)

case "${1:-test}" in
  build) wanted=("${build[@]}") ;;
  demo) wanted=("${build[@]}" "${demo[@]}") ;;
  *) wanted=("${build[@]}" "${demo[@]}" "${test[@]}") ;;
esac

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  if [[ $(id -u) -ne 0 ]]; then
    echo "setup: run as root (or install the packages above yourself)" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
