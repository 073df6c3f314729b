#!/usr/bin/env bash
# Runs one row of cases.txt: the Windows program under Wine with QD_UI=headless
# in a fresh working folder, then compares its records and the prefix's state
# with the row's EXPECT file.
# Usage: wine_case.sh NAME ARCH CASES PREFIX WORKROOT EXE
#
# EXPECT lines: a record that must appear (in the file's order, other records
# may come between); "@exit N" the exit code; "@installed" the system folder's
# qdztempl.dll holds the site's qd.upd; "@not-installed" there is none;
# "@registry NAME VALUE" the product's key holds the value (REG_SZ);
# "@no-registry NAME" it has no such value; "@proxied" the proxy's log shows
# both requests passed with the user's credentials. "#" starts a comment line.
set -euo pipefail
name="$1" arch="$2" cases="$3" prefix="$4" workroot="$5" exe="$6"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine_env.sh"

row="$(awk -F'|' -v n="$name" '!/^#/ { k=$1; gsub(/^[ \t]+|[ \t]+$/, "", k); if (k == n) print }' "$cases")"
if [[ -z "$row" ]]; then
  echo "no case $name in $cases" >&2
  exit 1
fi
field() {
  awk -F'|' -v i="$1" '{ v=$i; gsub(/^[ \t]+|[ \t]+$/, "", v); print v }' <<<"$row"
}
server="$(field 3)" script="$(field 4)" expect="$here/expect/$(field 5)"
case " $(field 2) " in
  *" $arch "*) ;;
  *)
    echo "case $name: the row names no architecture '$arch'" >&2
    exit 1
    ;;
esac
qd_wine_require_exe "$exe"

work="$workroot/${name}_$arch"
rm -rf "$work"
mkdir -p "$work/run/cwd"
work="$(cd "$work" && pwd)"
qd_wine_setup_env "$prefix"
unset DISPLAY
qd_wine_lock

servers=()
cleanup() {
  for dir in "${servers[@]}"; do bash "$here/../support/servers/stop.sh" "$dir"; done
  qd_wine_end
}
trap cleanup EXIT

# The stored form of a credential in proxy.def, which the program's
# unscrambling turns back into the plain text: each byte XOR the key's byte,
# plus 40 (no plain byte may be zero).
scrambled() {
  python3 -c '
import sys
key = b"VelkorMandrithex"
plain = sys.argv[1].encode()
sys.stdout.buffer.write(bytes(((c ^ key[i % 16]) + 40) % 256 for i, c in enumerate(plain)))
' "$1"
}

url=""
case "$server" in
  none) ;;
  site | empty)
    mkdir -p "$work/site/www"
    [[ "$server" == site ]] && bash "$here/make_update_site.sh" "$work/site/www"
    servers+=("$work/site")
    port="$(bash "$here/../support/servers/start.sh" http10 "$work/site")"
    url="http://127.0.0.1:$port"
    ;;
  proxy | proxy-refused)
    # The site behind squid, which asks for Basic authentication; proxy.def
    # in the parent of the working folder names it, the user name plain and
    # the password scrambled ("$" form), or, for proxy-refused, a wrong plain
    # password.
    mkdir -p "$work/site/www"
    bash "$here/make_update_site.sh" "$work/site/www"
    servers+=("$work/site")
    port="$(bash "$here/../support/servers/start.sh" http10 "$work/site")"
    url="http://127.0.0.1:$port"
    servers+=("$work/proxy")
    proxy_port="$(bash "$here/../support/servers/start.sh" squid "$work/proxy" updater s3cret)"
    password='wrong'
    [[ "$server" == proxy ]] && password="\$$(scrambled s3cret)"
    printf '1\r\n1\r\n127.0.0.1\r\n%s\r\nupdater\r\n%s\r\n' "$proxy_port" "$password" \
      >"$work/run/proxy.def"
    ;;
  *)
    echo "case $name: unknown server '$server'" >&2
    exit 1
    ;;
esac

qd_wine_sample_list
qd_wine_clean_install "$arch"

status=0
(
  cd "$work/run/cwd"
  QD_UI=headless QD_UI_SCRIPT="$script" QD_UPDATE_URL="$url" \
    LANG="$QD_WINE_LANG" LC_ALL= LC_CTYPE= timeout 120 "$QD_WINE_LOADER" "$exe" >"$work/stdout.txt" 2>"$work/stderr.txt"
) || status=$?
echo "case ${name}_$arch: program exited with $status; records in $work/stdout.txt"

failures=0
fail() {
  echo "case $name: $*" >&2
  failures=$((failures + 1))
}
# Records in order: each expected one is looked for after the previous match.
mapfile -t records < <(tr -d '\r' <"$work/stdout.txt")
at=0
while IFS= read -r line; do
  [[ -z "$line" || "$line" == \#* ]] && continue
  if [[ "$line" == @* ]]; then
    read -r check a b <<<"${line#@}"
    case "$check" in
      exit) [[ "$status" == "$a" ]] || fail "exit code $status, expected $a" ;;
      installed)
        installed="$(qd_wine_system_dir "$arch")/qdztempl.dll"
        cmp -s "$installed" "$work/site/www/qd.upd.source" ||
          fail "$installed does not hold the package's qd.upd"
        ;;
      not-installed)
        [[ ! -e "$(qd_wine_system_dir "$arch")/qdztempl.dll" ]] || fail "qdztempl.dll was installed"
        ;;
      registry | no-registry)
        value="$(qd_wine reg query 'HKLM\SOFTWARE\Talvesk' /v "$a" "$(qd_wine_reg_view "$arch")" 2>/dev/null |
          tr -d '\r' | awk -v n="$a" '$1 == n && $2 == "REG_SZ" { sub(/^[ \t]*[^ \t]+[ \t]+REG_SZ[ \t]+/, ""); print }' || true)"
        if [[ "$check" == registry ]]; then
          [[ "$value" == "$b" ]] || fail "registry value $a is '$value', expected '$b'"
        else
          [[ -z "$value" ]] || fail "registry value $a is '$value', expected none"
        fi
        ;;
      proxied)
        # Both requests went through the proxy, which let them in only with
        # the credentials.
        for resource in qd.zip newupd.dat; do
          grep -Eq "/200 [0-9]+ GET http://127\.0\.0\.1:[0-9]+/$resource updater " \
            "$work/proxy/access.log" 2>/dev/null || fail "the proxy did not pass $resource"
        done
        ;;
      *) fail "unknown check @$check" ;;
    esac
    continue
  fi
  found=0
  from=$at
  while ((at < ${#records[@]})); do
    if [[ "${records[at]}" == "$line" ]]; then
      found=1
      at=$((at + 1))
      break
    fi
    at=$((at + 1))
  done
  if ((!found)); then
    fail "record missing (or out of order): $line"
    at=$from
  fi
done <"$expect"

if ((failures)); then
  echo "--- standard output" >&2
  cat "$work/stdout.txt" >&2
  echo "--- standard error" >&2
  cat "$work/stderr.txt" >&2
  exit 1
fi
echo "case $name: passed"
