#!/usr/bin/env bash
# Cross-builds the libraries, the Windows program qdupdate.exe and the tools
# with mingw-w64 for 32-bit and 64-bit Windows, with the presets mingw-i686
# and mingw-x86_64 (into build-mingw-i686 and build-mingw-x86_64); the Wine
# tests of the Linux build take them from there. QD_WERROR=ON makes warnings
# errors.
set -euo pipefail
cd "$(dirname "$0")/.."
for arch in i686 x86_64; do
  echo "cross_build: qdupdate.exe and the tools for $arch Windows, in build-mingw-$arch"
  QD_PRESET="mingw-$arch" QD_CONFIGURE="-DQD_WERROR=${QD_WERROR:-OFF}" bash scripts/build.sh
done
