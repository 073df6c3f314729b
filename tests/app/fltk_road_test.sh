#!/usr/bin/env bash
# The FLTK program through the whole road under Xvfb, clicked by xdotool,
# against Python's http.server with the sample package: the installed
# database must equal the package's qd.upd and the registry value the
# update list's first line with its zero byte. Screenshots stay in SHOTDIR.
# Usage: fltk_road_test.sh PROGRAM SHOTDIR
set -euo pipefail
program="$1" shots="$2"
here="$(cd "$(dirname "$0")/../.." && pwd)"
root="$(mktemp -d)"
server="$root/server"
trap 'bash "$here/tests/support/servers/stop.sh" "$server"; rm -rf "$root"' EXIT
bash "$here/scripts/make_sample_root.sh" "$root"
bash "$here/scripts/make_sample_server.sh" "$server/www"
port=$(bash "$here/tests/support/servers/start.sh" http10 "$server")
mkdir -p "$root/work"
rm -rf "$shots"
(cd "$root/work" && QD_ROOT="$root" QD_UPDATE_URL="http://127.0.0.1:$port" \
  bash "$here/scripts/xvfb_road.sh" "$shots" "$program")
unzip -p "$server/www/qd.zip" qd.upd >"$root/expected.upd"
cmp "$root/expected.upd" "$root/Windows/System32/qdztempl.dll"
value="$root/Registry/HKEY_LOCAL_MACHINE/SOFTWARE/Talvesk/CurrentUpdate"
expected="$(head -1 "$here/scripts/demo_data/newupd.txt")"
printf '%s\0' "$expected" | cmp - "$value"
for shot in 1-main 2-downloaded 3-install 4-success; do
  [[ -s "$shots/$shot.png" ]] || { echo "no screenshot $shot" >&2; exit 1; }
done
size=$(identify -format '%wx%h' "$shots/3-install.png")
[[ "$size" == "328x83" ]] || { echo "install dialog is $size, expected 328x83" >&2; exit 1; }
echo "road done: $(stat -c %s "$root/Windows/System32/qdztempl.dll") bytes installed, screenshots in $shots"
