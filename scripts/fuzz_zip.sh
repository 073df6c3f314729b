#!/usr/bin/env bash
# Builds the ZIP fuzz target with clang (ASan, UBSan, libFuzzer) in
# build-zip-fuzz and runs it on one core for $1 seconds (default 60), seeded
# from the archives of the test suite and of Debian's Go, Python and Rust
# packages where they are installed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
dir=build-zip-fuzz
san="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fsanitize=fuzzer-no-link"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQD_FUZZ=ON \
  -DQD_BUILD_TESTS=OFF -DQD_BUILD_FLTK=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_FLAGS="$san" -DCMAKE_CXX_FLAGS="$san" >/dev/null
ninja -C "$dir" -j2 zip_fuzz
corpus="$dir/zip_corpus"
mkdir -p "$corpus"
for f in /usr/share/go-1.19/src/archive/zip/testdata/*.zip \
         /usr/lib/python3.11/test/ziptestdata/exe_with_* \
         /usr/lib/python3.11/test/zip_cp437_header.zip /usr/lib/python3.11/test/zipdir.zip \
         /usr/share/cargo/registry/zip-*/tests/data/*.zip \
         tests/zip/data/*.zip; do
  [ -f "$f" ] && [ "$(stat -c %s "$f")" -le 65536 ] && cp -n "$f" "$corpus/" || true
done
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
"$dir/fuzz/zip_fuzz" "$corpus" -max_total_time="$seconds" -timeout=10 \
  -rss_limit_mb=1024 -artifact_prefix="$dir/" -max_len=65536 -print_final_stats=1
