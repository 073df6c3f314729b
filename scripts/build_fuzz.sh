#!/usr/bin/env bash
# Configures the one fuzz build folder (clang with ASan, UBSan and libFuzzer;
# build-fuzz, or $QD_FUZZ_DIR) when needed and builds the fuzz targets named
# as arguments in it. fuzz_http.sh and fuzz_zip.sh call it.
# Usage: build_fuzz.sh TARGET...
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${QD_FUZZ_DIR:-build-fuzz}"
san="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fsanitize=fuzzer-no-link"
if [[ ! -f "$dir/build.ninja" ]]; then
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQD_FUZZ=ON \
    -DQD_BUILD_TESTS=OFF -DQD_BUILD_FLTK=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_C_FLAGS="$san" -DCMAKE_CXX_FLAGS="$san" >/dev/null
fi
ninja -C "$dir" -j2 "$@"
