#!/usr/bin/env bash
# The demo: the whole update road against a local update server. Builds the
# program, makes a sandbox root (the product's folder with a sample update
# list, the system folder, the product's registry key), starts Python's
# http.server on 127.0.0.1 and a free port with a sample package and update
# list, and runs the program against it in a working folder of the sandbox.
# With a display, click "Обновить", then "Продолжить  >>" yourself. Without
# one the program runs under Xvfb and xdotool clicks through it, saving a
# screenshot at each step. At the end the installed database file and the
# registry value are printed.
#
# Then the signed road: a throw-away key pair, the program built with its
# public key (in build-demo-signed), the sample set signed with qdsign and
# installed; then the same set with one byte of qd.zip changed, which the
# program refuses (a screenshot of the box under Xvfb), the installed database
# untouched.
set -euo pipefail
cd "$(dirname "$0")/.."
here="$PWD"
bash scripts/setup.sh demo
# Only the program and the signing tool, in a folder of its own without the
# tests: the demo runs nothing else.
QD_PRESET=demo bash scripts/build.sh qdupdate qdsign
root="$(mktemp -d /tmp/qdupdate-demo.XXXXXX)"
bash scripts/make_sample_root.sh "$root"
mkdir -p "$root/work"
server="$root/server"
bash scripts/make_sample_server.sh "$server/www"
port=$(bash tests/support/servers/start.sh http10 "$server")
trap 'bash "$here/tests/support/servers/stop.sh" "$server"' EXIT
export QD_ROOT="$root" QD_UPDATE_URL="http://127.0.0.1:$port"
echo "demo: sandbox root $root; update server $QD_UPDATE_URL (Python http.server over $server/www)"
program="$PWD/build-demo/app/qdupdate"
cd "$root/work"
if [[ -n "${DISPLAY:-}" ]]; then
  "$program"
else
  bash "$here/scripts/xvfb_road.sh" "$root/shots" "$program"
  echo "demo: no display here; the road ran under Xvfb, screenshots in $root/shots:"
  ls "$root/shots" | sed 's/^/demo:   /'
fi
database="$root/Windows/System32/qdztempl.dll"
value="$root/Registry/HKEY_LOCAL_MACHINE/SOFTWARE/Talvesk/CurrentUpdate"
if [[ -f "$database" ]]; then
  echo "demo: installed database $database, $(stat -c %s "$database") bytes"
else
  echo "demo: no database was installed"
fi
if [[ -f "$value" ]]; then
  echo "demo: registry value HKEY_LOCAL_MACHINE\\SOFTWARE\\Talvesk\\CurrentUpdate = \"$(tr -d '\0' <"$value")\""
else
  echo "demo: no registry value was written"
fi

echo "demo: the signed road"
keys="$root/keys"
mkdir -p "$keys"
openssl ecparam -name prime256v1 -genkey -noout -out "$keys/key.pem"
openssl ec -in "$keys/key.pem" -pubout -out "$keys/pub.pem" 2>/dev/null
cmake -S "$here" -B "$here/build-demo-signed" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQD_BUILD_TESTS=OFF -DQD_UPDATE_PUBLIC_KEY="$keys/pub.pem" >/dev/null
cmake --build "$here/build-demo-signed" -j"$(nproc)" --target qdupdate
signed_program="$here/build-demo-signed/app/qdupdate"
"$here/build-demo/tools/qdsign/qdsign" make --serial 2026121101 --key "$keys/key.pem" "$server/www"
"$here/build-demo/tools/qdsign/qdsign" verify --pub "$keys/pub.pem" "$server/www"
rm -f "$root/work/"*
cd "$root/work"
if [[ -n "${DISPLAY:-}" ]]; then
  "$signed_program"
else
  bash "$here/scripts/xvfb_road.sh" "$root/shots-signed" "$signed_program"
  echo "demo: the signed road ran under Xvfb, screenshots in $root/shots-signed"
fi
serial="$root/Registry/HKEY_LOCAL_MACHINE/SOFTWARE/Talvesk/UpdateSerial"
[[ -f "$serial" ]] && echo "demo: registry value UpdateSerial = \"$(tr -d '\0' <"$serial")\""
before="$(sha256sum <"$database")"
python3 - "$server/www/qd.zip" <<'PY'
import sys
p = sys.argv[1]
b = bytearray(open(p, "rb").read())
b[len(b) // 2] ^= 1
open(p, "wb").write(bytes(b))
PY
echo "demo: one byte of qd.zip changed on the server"
"$here/build-demo/tools/qdsign/qdsign" verify --pub "$keys/pub.pem" "$server/www" || true
if [[ -n "${DISPLAY:-}" ]]; then
  "$signed_program"
else
  bash "$here/scripts/xvfb_refusal.sh" "$root/shots-signed" "$signed_program"
  echo "demo: the refusal under Xvfb: $root/shots-signed/5-refused.png"
fi
if [[ "$(sha256sum <"$database")" == "$before" ]]; then
  echo "demo: the installed database is untouched"
else
  echo "demo: the installed database changed"
  exit 1
fi
