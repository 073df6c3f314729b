#!/usr/bin/env bash
# The Win32 back-end's message boxes under Wine and Xvfb, one qdboxes run a
# row: the box appears with its title, is saved as a PNG file, gets the keys
# of the row, and the answer printed must be the row's.
# Usage: wine_boxes_test.sh QDBOXES.exe PREFIX OUTDIR
set -euo pipefail
exe="$1" prefix="$2" out="$3"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine_env.sh"
qd_wine_require_exe "$exe"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
qd_wine_setup_env "$prefix"
qd_wine_lock

program=""
cleanup() {
  [[ -n "$program" ]] && kill "$program" 2>/dev/null
  qd_wine_end
  qd_xvfb_stop
}
trap cleanup EXIT
qd_xvfb_start

# kind | title | keys (xdotool key names; "type:TEXT" types text) | answer
# The four-button box is the back-end's own window: its buttons answer to
# their underlined letters. The others are the system's message box and the
# back-end's input box.
cases="$(cat <<'TABLE'
overwrite | Confirm                  | a                  | answer yestoall
overwrite | Confirm                  | o                  | answer notoall
overwrite | Confirm                  | Escape             | answer cancel
failure   | Confirm                  | r                  | answer retry
error     | Error                    | Return             | answer ok
plain     | qdupdate                 | Return             | answer ok
password  | Password for "qd.upd"    | type:geheim Return | answer text:geheim
password  | Password for "qd.upd"    | Escape             | answer cancel
TABLE
)"

failures=0
row=0
while IFS='|' read -r kind title keys answer; do
  kind="$(echo $kind)" keys="$(echo $keys)" answer="$(echo $answer)"
  title="$(sed 's/^ *//; s/ *$//' <<<"$title")"
  row=$((row + 1))
  qd_wine "$exe" "$kind" >"$out/box_$row.txt" 2>"$out/box_$row.err" &
  program=$!
  if ! id="$(qd_window_named "$program" qdboxes.exe "$title")"; then
    echo "row $row ($kind): no box" >&2
    failures=$((failures + 1))
    kill "$program" 2>/dev/null || true
    wait "$program" || true
    continue
  fi
  sleep 1 # let the first paint finish
  import -window "$id" "$out/box_${row}_$kind.png"
  # Keys go to the window under the pointer: there is no window manager.
  xdotool mousemove --window "$id" 5 5
  for key in $keys; do
    if [[ "$key" == type:* ]]; then
      xdotool type --delay 50 "${key#type:}"
    else
      xdotool key "$key"
    fi
  done
  for _ in $(seq 100); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$program" 2>/dev/null; then
    echo "row $row ($kind, $keys): the box did not close" >&2
    failures=$((failures + 1))
    kill "$program" 2>/dev/null || true
  fi
  wait "$program" || true
  program=""
  got="$(tr -d '\r' <"$out/box_$row.txt")"
  if [[ "$got" == "$answer" ]]; then
    echo "row $row ($kind, $keys): $got"
  else
    echo "row $row ($kind, $keys): printed '$got', expected '$answer'" >&2
    failures=$((failures + 1))
  fi
done <<<"$cases"
((failures == 0)) || exit 1
echo "every box answered as expected; screenshots in $out"
