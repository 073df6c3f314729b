#!/usr/bin/env bash
# The Windows platform layer under Wine, through qdzip.exe (the archiver on
# the command line), with the system code pages of en_US (ANSI 1252, OEM
# 437): an entry name in the OEM code page becomes an ANSI file name
# (OemToCharA, then the A file calls), folders are created, the read-only
# attribute and the entry's MS-DOS time reach the file, and a mask matches
# letters of another case, accented ones included (the locale's comparison).
# Usage: platform_wine_test.sh QDZIP.exe PREFIX WORKDIR
set -euo pipefail
exe="$1" prefix="$2" work="$3"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine_env.sh"
qd_wine_require_exe "$exe"
rm -rf "$work"
mkdir -p "$work"
work="$(cd "$work" && pwd)"
qd_wine_setup_env "$prefix"
unset DISPLAY
qd_wine_lock
trap qd_wine_end EXIT

# "café.txt" is written with its "é" as byte 0x82, its code in code page 437,
# and without the flag that would mark the name as UTF-8.
python3 - "$work/test.zip" <<'PY'
import sys, zipfile
path = sys.argv[1]
def entry(name, data, attributes=0x20, when=(2020, 5, 17, 10, 20, 30)):
    info = zipfile.ZipInfo(name, when)
    info.create_system = 0  # MS-DOS: the low byte of the external attributes
    info.external_attr = attributes
    info.compress_type = zipfile.ZIP_DEFLATED
    return info, data
with zipfile.ZipFile(path, "w") as z:
    for info, data in [entry("caf#.txt", b"accent\r\n"),
                       entry("readonly.txt", b"read only\r\n", 0x21),
                       entry("sub/inner.txt", b"inner\r\n", when=(2019, 1, 2, 3, 4, 6))]:
        z.writestr(info, data)
raw = open(path, "rb").read()
assert raw.count(b"caf#.txt") == 2
open(path, "wb").write(raw.replace(b"caf#.txt", b"caf\x82.txt"))
PY

failures=0
fail() {
  echo "$*" >&2
  failures=$((failures + 1))
}
run() {
  local out="$1"
  shift
  mkdir -p "$work/$out"
  (cd "$work" && qd_wine "$exe" x "$@" >"$work/$out.log" 2>&1) ||
    fail "qdzip.exe x $* failed: $(tr -d '\r' <"$work/$out.log")"
}

# Everything, with folders.
run all -d test.zip all
[[ "$(cat "$work/all/café.txt" 2>/dev/null)" == $'accent\r' ]] || fail "café.txt missing: $(ls "$work/all")"
[[ -f "$work/all/sub/inner.txt" ]] || fail "the folder sub was not created"
mode="$(stat -c %a "$work/all/readonly.txt")"
[[ "$mode" != *[2367]* ]] || fail "readonly.txt is writable (mode $mode)"
expected="$(python3 -c 'import time; print(int(time.mktime((2020, 5, 17, 10, 20, 30, 0, 0, -1))))')"
got="$(stat -c %Y "$work/all/readonly.txt")"
[[ "$got" == "$expected" ]] || fail "readonly.txt's time is $got, expected $expected"
expected="$(python3 -c 'import time; print(int(time.mktime((2019, 1, 2, 3, 4, 6, 0, 0, -1))))')"
got="$(stat -c %Y "$work/all/sub/inner.txt")"
[[ "$got" == "$expected" ]] || fail "sub/inner.txt's time is $got, expected $expected"

# A mask in capitals, "É" included, matches only "café.txt".
run masked test.zip masked "CAFÉ.TXT"
found="$(cd "$work/masked" && find . -type f | sort | tr '\n' ' ')"
[[ "$found" == "./café.txt " ]] || fail "the mask CAFÉ.TXT extracted: $found"

((failures == 0)) || exit 1
echo "OEM name, folders, read-only attribute, times and the case-blind mask all came through"
