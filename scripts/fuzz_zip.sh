#!/usr/bin/env bash
# Builds the ZIP fuzz target with clang (ASan, UBSan, libFuzzer) in the fuzz
# build folder (build_fuzz.sh) and runs it on one core for $1 seconds (default 60), seeded
# from the archives of the test suite and of Debian's Go, Python and Rust
# packages where they are installed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
dir="${QD_FUZZ_DIR:-build-fuzz}"
bash scripts/build_fuzz.sh zip_fuzz
corpus="$dir/corpus/zip_fuzz"
mkdir -p "$corpus"
source scripts/peer_archives.env
for f in "$QD_PEER_GO_DIR"/*.zip \
         "$QD_PEER_PYTHON_DIR"/ziptestdata/exe_with_* \
         "$QD_PEER_PYTHON_DIR"/zip_cp437_header.zip "$QD_PEER_PYTHON_DIR"/zipdir.zip \
         "$QD_PEER_RUST_REGISTRY"/zip-*/tests/data/*.zip \
         tests/zip/data/*.zip; do
  [ -f "$f" ] && [ "$(stat -c %s "$f")" -le 65536 ] && cp -n "$f" "$corpus/" || true
done
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
"$dir/fuzz/zip_fuzz" "$corpus" -max_total_time="$seconds" -timeout=10 \
  -rss_limit_mb=1024 -artifact_prefix="$dir/zip_fuzz-" -max_len=65536 -print_final_stats=1
