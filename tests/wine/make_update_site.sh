#!/usr/bin/env bash
# Writes the update site that the download cases fetch: qd.zip holding the
# database file qd.upd, and the update list newupd.dat (Windows-1251, CR LF,
# its first line the update's identifier). The database's bytes are also kept
# as qd.upd.source, for comparing with what the program installs.
# Usage: make_update_site.sh DIR
set -euo pipefail
dir="$1"
data="$(cd "$(dirname "$0")/../../scripts/demo_data" && pwd)"
mkdir -p "$dir"
python3 - "$dir" <<'PY'
import os, random, sys, zipfile
d = sys.argv[1]
# 430,000 bytes that do not compress, so that the package is as large as the
# download command expects and the gauge runs to 100%; line ends, a zero
# byte and the DOS end-of-file byte make any text-mode copy show.
body = random.Random(1042).randbytes(430000 - 25) + b"\r\n\x00\x1a end of the database\n"
with open(os.path.join(d, "qd.upd.source"), "wb") as f:
    f.write(body)
with zipfile.ZipFile(os.path.join(d, "qd.zip"), "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("qd.upd", body)
PY
sed 's/$/\r/' "$data/newupd.txt" | iconv -f UTF-8 -t CP1251 >"$dir/newupd.dat"
