#!/usr/bin/env bash
# Cross-builds the libraries, the Windows program qdupdate.exe and the tools
# with mingw-w64 for 32-bit and 64-bit Windows, into build-mingw-i686 and
# build-mingw-x86_64; the Wine tests of the Linux build take them from there.
set -euo pipefail
cd "$(dirname "$0")/.."
werror="${QD_WERROR:-OFF}"
for arch in i686 x86_64; do
  dir="build-mingw-$arch"
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQD_WERROR="$werror" \
    -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$arch.cmake" >/dev/null
  cmake --build "$dir"
done
