#!/usr/bin/env bash
# qdget.exe (64-bit) under Wine against nginx on 127.0.0.1: a counted body,
# the same body chunked, a relative redirect and a 404, on one client. The
# bodies must reach standard output byte for byte, and the result lines must
# be the same as the Linux build's.
# Usage: qdget_wine_test.sh QDGET.EXE PREFIX WORKDIR
set -euo pipefail
exe="$1" prefix="$2" work="$3"
here="$(cd "$(dirname "$0")" && pwd)"
servers="$here/../support/servers"
source "$here/wine_env.sh"
qd_wine_require_exe "$exe"
qd_wine_setup_env "$prefix"
qd_wine_lock
rm -rf "$work"
mkdir -p "$work"
trap 'qd_wine_end; bash "$servers/stop.sh" "$work/nginx"' EXIT
port=$(bash "$servers/start.sh" nginx "$work/nginx")
head -c 300000 /dev/urandom >"$work/nginx/www/big.bin"
printf 'hello from the update server\n' >"$work/nginx/www/small.txt"
base="http://127.0.0.1:$port"
unset DISPLAY
status=0
qd_wine "$exe" "$base/big.bin" "$base/chunked/big.bin" "$base/r301rel" "$base/missing.zip" \
  >"$work/out" 2>"$work/err" || status=$?
cat "$work/nginx/www/big.bin" "$work/nginx/www/big.bin" "$work/nginx/www/small.txt" >"$work/expected"
cmp "$work/expected" "$work/out"
expected_err="done \"$base/big.bin\" 300000
done \"$base/chunked/big.bin\" 300000
done \"$base/r301rel\" 29
fail \"$base/missing.zip\" ENetHTTPProtocolException 404 \"HTTP/1.1 404 Not Found\""
# Wine may add its own lines; the program's result lines must come in order.
actual_err=$(grep -E '^(done|fail) ' "$work/err" | tr -d '\r')
if [[ "$actual_err" != "$expected_err" ]]; then
  echo "result lines differ; got:" >&2
  cat "$work/err" >&2
  exit 1
fi
if ((status != 1)); then
  echo "exit status $status, expected 1 (one URL failed)" >&2
  exit 1
fi
echo "qdget.exe under Wine: $(stat -c %s "$work/out") bytes, results as expected"
