#!/usr/bin/env bash
# Fills an update server's document root with a sample package and update
# list: qd.zip (written by Info-ZIP's zip) holding a sample database qd.upd
# of 430,000 bytes, and newupd.dat, the sample update list in Windows-1251
# with CR LF line ends, whose first line is the update's identifier.
# Usage: make_sample_server.sh WWW [PREFIX]
set -euo pipefail
www="$1/${2:-}"
data="$(cd "$(dirname "$0")" && pwd)/demo_data"
mkdir -p "$www"
src="$(mktemp -d)"
trap 'rm -rf "$src"' EXIT
python3 - "$src/qd.upd" <<'PY'
import random, sys
# Text-like sample records, so that the package deflates as a real one would.
rnd = random.Random(2026)
with open(sys.argv[1], 'w') as f:
    n = 0
    while n < 430000:
        line = 'QD%07d;%s;%d\n' % (n, ' '.join(rnd.choice(['law', 'act', 'order', 'letter', 'rule'])
                                         for _ in range(8)), rnd.randint(1, 99999))
        f.write(line[:430000 - n])
        n += len(line[:430000 - n])
PY
# Stored, as the publisher's package of this size is: the gauge measures
# the download against 430,000 bytes.
(cd "$src" && zip -q -X -0 qd.zip qd.upd)
cp "$src/qd.zip" "$www/qd.zip"
sed 's/$/\r/' "$data/newupd.txt" | iconv -f UTF-8 -t CP1251 >"$www/newupd.dat"
