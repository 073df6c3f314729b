#!/usr/bin/env bash
# Installs the Debian packages that building, the demo and the tests need,
# when they are missing. Usage: setup.sh build|demo|test
#
# Packages are installed without their recommendations, so every package that
# a build step, a test or a script calls is named here itself, even when
# another package here would only recommend it.
set -euo pipefail
source "$(dirname "$0")/peer_archives.env"

build=(cmake ninja-build g++ make pkg-config zlib1g-dev libfltk1.3-dev libx11-dev libssl-dev openssl)
demo=(xvfb xauth xdotool imagemagick x11-utils fonts-liberation fonts-dejavu-core python3 zip)
test=(googletest libgtest-dev g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev
      binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
      clang libclang-rt-14-dev zip unzip libarchive-tools "$QD_PEER_GO_PACKAGE"
      "$QD_PEER_PYTHON_PACKAGE" "$QD_PEER_RUST_PACKAGE" python3 clang-format time curl nginx-light squid apache2-utils tinyproxy
      wine wine64 wine32:i386)

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
  # The 32-bit Windows program runs under the 32-bit Wine, which needs the
  # i386 architecture.
  if printf '%s\n' "${missing[@]}" | grep -q ':i386$' &&
    ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  # The packaged proxies and web server start system services on install; the
  # tests start their own instances on free ports and want the default ports
  # and pid files left alone.
  for svc in squid tinyproxy nginx; do
    if printf '%s\n' "${missing[@]}" | grep -qx "$svc\(-light\)\?"; then
      service "$svc" stop >/dev/null 2>&1 || true
    fi
  done
fi
