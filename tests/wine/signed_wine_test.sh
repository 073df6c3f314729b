#!/usr/bin/env bash
# The signed road of a Windows program built with a test key, under Wine with
# QD_UI=headless: a set signed with `openssl dgst` installs and records its
# serial; the same set with one byte of qd.zip changed is refused, with
# nothing written to the working folder, the system folder or the registry.
# Usage: signed_wine_test.sh ARCH EXE KEY.pem PREFIX WORKDIR
set -euo pipefail
arch="$1" exe="$2" key="$3" prefix="$4" workroot="$5"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine_env.sh"
qd_wine_require_exe "$exe"
[[ -f "$key" ]] || {
  echo "no test key at $key: it is made when the Windows build is configured" >&2
  exit 1
}
exe="$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")"
key="$(cd "$(dirname "$key")" && pwd)/$(basename "$key")"
prefix="$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")"
serial=2026121101

rm -rf "$workroot"
mkdir -p "$workroot"
workroot="$(cd "$workroot" && pwd)"
qd_wine_setup_env "$prefix"
unset DISPLAY
qd_wine_lock

servers=()
cleanup() {
  for dir in "${servers[@]}"; do bash "$here/../support/servers/stop.sh" "$dir"; done
  qd_wine_end
}
trap cleanup EXIT

failures=0
fail() {
  echo "signed $1: $2" >&2
  failures=$((failures + 1))
}

registry_value() {
  qd_wine reg query 'HKLM\SOFTWARE\Talvesk' /v "$1" "$(qd_wine_reg_view "$arch")" 2>/dev/null |
    tr -d '\r' | awk -v n="$1" '$1 == n && $2 == "REG_SZ" { sub(/^[ \t]*[^ \t]+[ \t]+REG_SZ[ \t]+/, ""); print }' || true
}

# run_case NAME DAMAGE: DAMAGE "none" or "package-byte".
run_case() {
  local name="$1" damage="$2" work="$workroot/$1"
  local www="$work/site/www"
  mkdir -p "$www" "$work/run/cwd"
  bash "$here/make_update_site.sh" "$www"
  {
    printf 'qdupdate-manifest 1\nserial %s\n' "$serial"
    for f in qd.zip newupd.dat; do
      printf 'file %s %s sha256 %s\n' "$f" "$(stat -c %s "$www/$f")" \
        "$(openssl dgst -sha256 -r "$www/$f" | cut -c1-64)"
    done
  } >"$www/qd.manifest"
  openssl dgst -sha256 -sign "$key" -out "$www/qd.manifest.sig" "$www/qd.manifest"
  if [[ "$damage" == package-byte ]]; then
    python3 - "$www/qd.zip" <<'PY'
import sys
p = sys.argv[1]
b = bytearray(open(p, "rb").read())
b[len(b) // 2] ^= 1
open(p, "wb").write(bytes(b))
PY
  fi
  servers+=("$work/site")
  local port
  port="$(bash "$here/../support/servers/start.sh" http10 "$work/site")"

  qd_wine_sample_list
  qd_wine_clean_install "$arch"
  qd_wine reg delete 'HKLM\SOFTWARE\Talvesk' /v UpdateSerial /f "$(qd_wine_reg_view "$arch")" \
    >/dev/null 2>&1 || true
  local script="click UpdateForm.Button2; answer ok"
  [[ "$damage" == none ]] && script="click UpdateForm.Button2; click CopyForm.Button2; answer ok"
  local status=0
  (
    cd "$work/run/cwd"
    QD_UI=headless QD_UI_SCRIPT="$script" QD_UPDATE_URL="http://127.0.0.1:$port" \
      LANG="$QD_WINE_LANG" LC_ALL= LC_CTYPE= timeout 120 "$QD_WINE_LOADER" "$exe" >"$work/stdout.txt" \
      2>"$work/stderr.txt"
  ) || status=$?
  [[ "$status" == 0 ]] || fail "$name" "exit code $status"
  local out installed
  out="$(tr -d '\r' <"$work/stdout.txt")"
  installed="$(qd_wine_system_dir "$arch")/qdztempl.dll"
  if [[ "$damage" == none ]]; then
    grep -qxF 'box plain "qdupdate" "Database update has been successfully completed" -> ok' \
      <<<"$out" || fail "$name" "no success box"
    cmp -s "$installed" "$www/qd.upd.source" || fail "$name" "the database was not installed"
    [[ "$(registry_value UpdateSerial)" == "$serial" ]] ||
      fail "$name" "UpdateSerial is '$(registry_value UpdateSerial)', expected $serial"
    [[ "$(registry_value CurrentUpdate)" == 20261208-1042 ]] || fail "$name" "no CurrentUpdate"
  else
    grep -qxF 'box error "Error" "The update is not signed by the publisher. Nothing was installed." -> ok' \
      <<<"$out" || fail "$name" "no refusal box"
    grep -q 'form CopyForm shown' <<<"$out" && fail "$name" "the install dialog was shown"
    [[ ! -e "$installed" ]] || fail "$name" "qdztempl.dll was installed"
    [[ -z "$(ls -A "$work/run/cwd")" ]] || fail "$name" "the working folder is not empty"
    [[ -z "$(registry_value CurrentUpdate)" ]] || fail "$name" "CurrentUpdate was written"
    [[ -z "$(registry_value UpdateSerial)" ]] || fail "$name" "UpdateSerial was written"
  fi
  if ((failures)); then
    echo "--- $name standard output" >&2
    cat "$work/stdout.txt" >&2
    echo "--- $name standard error" >&2
    tail -n 20 "$work/stderr.txt" >&2
  fi
  echo "signed $name: done"
}

run_case good_set none
run_case package_byte_flipped package-byte
((failures == 0)) || exit 1
echo "signed road under Wine: passed"
