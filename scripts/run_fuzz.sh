#!/usr/bin/env bash
# Runs fuzz targets built by build_fuzz.sh one after another on one core,
# SECONDS in all shared among them, each from its corpus in the fuzz build
# folder (build-fuzz, or $QD_FUZZ_DIR), inputs of at most MAXLEN bytes.
# Fails on the first finding. fuzz_http.sh and fuzz_signed.sh call it.
# Usage: run_fuzz.sh SECONDS MAXLEN TARGET...
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="$1" maxlen="$2"
shift 2
dir="${QD_FUZZ_DIR:-build-fuzz}"
per=$((seconds / $#))
[ "$per" -ge 1 ] || per=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
for t in "$@"; do
  echo "== $t: $per s"
  "$dir/fuzz/$t" "$dir/corpus/$t" -max_total_time="$per" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$dir/$t-" -max_len="$maxlen" -print_final_stats=1 2>&1 | tail -n 12
  # libFuzzer's exit code tells a finding apart from the end of the time.
  [ "${PIPESTATUS[0]}" -eq 0 ] || exit 1
done
