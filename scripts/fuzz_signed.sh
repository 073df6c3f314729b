#!/usr/bin/env bash
# Builds the signed update's fuzz targets (the manifest parser and the DER
# signature decoder) with clang (ASan, UBSan, libFuzzer) in the fuzz build
# folder (build_fuzz.sh) and runs them one after another, $1 seconds in all
# (default 60) shared among them, from seeds written here and the corpus they
# grew before.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
dir="${QD_FUZZ_DIR:-build-fuzz}"
targets=(manifest_fuzz der_signature_fuzz)
bash scripts/build_fuzz.sh "${targets[@]}"

hash="0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef"
mkdir -p "$dir/corpus/manifest_fuzz" "$dir/corpus/der_signature_fuzz"
printf 'qdupdate-manifest 1\nserial 2026121101\nfile qd.zip 425123 sha256 %s\nfile newupd.dat 1234 sha256 %s\n' \
  "$hash" "$hash" >"$dir/corpus/manifest_fuzz/seed_lf"
printf 'qdupdate-manifest 1\r\nserial 9223372036854775807\r\nfile qd.zip 0 sha256 %s\r\nfile newupd.dat 1 sha256 %s' \
  "$hash" "$hash" >"$dir/corpus/manifest_fuzz/seed_crlf"
# A signature with a 33-byte r (leading zero) and a 32-byte s.
printf '\x30\x45\x02\x21\x00\x80%b\x02\x20\x11%b' "$(printf '\\x22%.0s' $(seq 31))" \
  "$(printf '\\x33%.0s' $(seq 31))" >"$dir/corpus/der_signature_fuzz/seed_full"
printf '\x30\x06\x02\x01\x01\x02\x01\x7f' >"$dir/corpus/der_signature_fuzz/seed_short"

bash scripts/run_fuzz.sh "$seconds" 8192 "${targets[@]}"
