#!/usr/bin/env bash
# Builds the HTTP client's fuzz targets with clang (ASan, UBSan, libFuzzer)
# in the fuzz build folder (build_fuzz.sh) and runs them one after another
# on one core, $1 seconds in all (default 60) shared among the targets, each
# from seeds written here and the corpus it grew before.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
dir="${QD_FUZZ_DIR:-build-fuzz}"
targets=(http_uri_fuzz http_header_fuzz http_date_fuzz http_cookie_fuzz http_response_fuzz)
bash scripts/build_fuzz.sh "${targets[@]}"

seed() {  # seed TARGET NAME TEXT
  mkdir -p "$dir/corpus/$1"
  printf '%b' "$3" >"$dir/corpus/$1/seed_$2"
}
seed http_uri_fuzz full 'http://u:p@host:8080/a/b/c.cgi?x=1#top'
seed http_uri_fuzz rel '../a/./b//c?d=e#f'
seed http_uri_fuzz eq 'http:\\\\host\\dir\\page=1'
seed http_header_fuzz head 'Content-Length: 12\r\nX-A: one\r\n two\r\nContent-Range: bytes 1-2/3\r\nExpires: 3600\r\nDate: Sun, 06 Nov 1994 08:49:37 GMT\r\nWWW-Authenticate: Basic realm="r"\r\n'
seed http_date_fuzz rfc1123 'Sun, 06 Nov 1994 08:49:37 GMT'
seed http_date_fuzz rfc850 'Sunday, 06-Nov-94 08:49:37 +0200'
seed http_date_fuzz asctime 'Sun Nov  6 08:49:37 1994'
seed http_cookie_fuzz cookies 'www.example.org\nSID=42; path=/; domain=.example.org; expires=Sun, 06 Nov 2094 08:49:37 GMT\na=1; Port="80,8080"; max-age=60; version=1\nhttp://www.example.org/docs/a.html'
seed http_response_fuzz ok '\x01HTTP/1.1 200 OK\r\nContent-Length: 5\r\nSet-Cookie: a=1; path=/\r\n\r\nhelloHTTP/1.1 200 OK\r\n\r\nrest'
seed http_response_fuzz chunked '\x00HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1a;x=y\r\nabcdefghijklmnopqrstuvwxyz\r\n0\r\n\r\n'
seed http_response_fuzz redirect '\x05HTTP/1.1 302 Found\r\nLocation: http://other/x\r\nContent-Length: 2\r\n\r\nab\n--\nHTTP/1.1 401 No\r\nWWW-Authenticate: Basic realm="r"\r\n\r\n\n--\nHTTP/1.0 100 Continue\r\n\r\nHTTP/1.0 404 Not Found\r\nConnection: keep-alive\r\n\r\nbody'

bash scripts/run_fuzz.sh "$seconds" 16384 "${targets[@]}"
