#!/usr/bin/env bash
# The Win32 back-end under Wine and Xvfb, with a system code page other than
# Windows-1251: the main dialog on the sample list, its size, caption and the
# grid's colours, clicks on web addresses, then one click of "Обновить"
# against a local update site, which leads to the install dialog, whose
# "Продолжить  >>" installs the database; then a list longer than the grid,
# scrolled. The dialogs and the closing message box are saved as PNG files.
# Usage: wine_window_test.sh ARCH EXE PREFIX OUTDIR
set -euo pipefail
arch="$1" exe="$2" prefix="$3" out="$4"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine_env.sh"
qd_wine_require_exe "$exe"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
work="$out/window-run"
rm -rf "$work"
mkdir -p "$work/run/cwd"
qd_wine_setup_env "$prefix"
qd_wine_lock

program="" site=""
cleanup() {
  [[ -n "$program" ]] && kill "$program" 2>/dev/null
  qd_wine_end
  [[ -n "$site" ]] && bash "$here/../support/servers/stop.sh" "$site"
  qd_xvfb_stop
}
trap cleanup EXIT

# The point of the run is a system code page other than Windows-1251.
acp="$(qd_wine reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP |
  tr -d '\r' | awk '$1 == "ACP" { print $3 }')"
echo "Wine's ANSI code page: $acp"
[[ -n "$acp" && "$acp" != 1251 ]] || { echo "the ANSI code page is '$acp', not one without Cyrillic" >&2; exit 1; }
# Web addresses that the program opens go to record_open.sh instead of a
# browser.
qd_wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$here/record_open.sh" /f >/dev/null
export QD_OPEN_LOG="$work/opened.txt"
# The program gets a Wine server of its own, started with the display.
qd_wine_end

qd_xvfb_start

site="$work/site"
mkdir -p "$site/www"
bash "$here/make_update_site.sh" "$site/www"
port="$(bash "$here/../support/servers/start.sh" http10 "$site")"
qd_wine_sample_list
qd_wine_clean_install "$arch"

(cd "$work/run/cwd" && exec env LANG="$QD_WINE_LANG" LC_ALL= LC_CTYPE= \
  QD_UPDATE_URL="http://127.0.0.1:$port" "$QD_WINE_LOADER" "$exe" >"$work/stdout.txt" 2>"$work/stderr.txt") &
program=$!

qd_wine_named_main() {
  qd_wine_named_main_title="Обновление базы  - доступны новые данные"
  qd_window_named "$program" qdupdate.exe "$qd_wine_named_main_title"
}

# Saves the window and checks its size against the dialog's client area.
shot() {
  local id="$1" png="$2" size="$3"
  sleep 1 # let the first paint finish
  import -window "$id" "$png"
  local got
  got="$(identify -format '%wx%h' "$png")"
  echo "screenshot $png: $got"
  [[ "$got" == "$size" ]] || { echo "window is $got, expected $size" >&2; return 1; }
}

# Pixels of the region (WxH+X+Y) near the colour, as a count: the others
# become black, those near it white, and the mean counts the white ones.
pixels_near() {
  convert "$1" -crop "$2" +repage -fuzz "${4:-25}%" -fill black +opaque "$3" -fill white -opaque "$3" \
    -colorspace Gray -format '%[fx:int(mean*w*h+0.5)]' info:
}

# The caption comes from the wide call: the window manager's title is the
# Russian text whatever Wine's code page.
main_title="Обновление базы  - доступны новые данные"
main="$(qd_window_named "$program" qdupdate.exe "$main_title")"
shot "$main" "$out/win32_main.png" 580x534

# The grid (at 1,179 in the dialog) below its header: more colours than the
# white background and the silver lines; "critical" and "NEW VERSION" in the
# type column in red; the web addresses of the description column in blue.
colours="$(convert "$out/win32_main.png" -crop 550x100+3+202 +repage -unique-colors -format '%w' info:)"
red="$(pixels_near "$out/win32_main.png" 88x42+3+224 '#FF0000')"
blue="$(pixels_near "$out/win32_main.png" 300x42+205+290 '#0000FF')"
echo "grid: $colours colours in the first rows, $red red pixels in the type column," \
  "$blue blue pixels in the addresses"
((colours >= 8)) || { echo "the grid area looks empty" >&2; exit 1; }
((red >= 40)) || { echo "the marked types are not red" >&2; exit 1; }
((blue >= 40)) || { echo "the web addresses are not blue" >&2; exit 1; }

# Clicks on the description column: row 5 holds an address inside a
# sentence, which is not opened; row 7 is only an address, which the shell
# opens.
xdotool mousemove --window "$main" 300 299 click 1
sleep 1
xdotool mousemove --window "$main" 300 343 click 1
for _ in $(seq 100); do
  [[ -s "$QD_OPEN_LOG" ]] && break
  sleep 0.1
done
sleep 1
opened="$(cat "$QD_OPEN_LOG" 2>/dev/null || true)"
echo "opened by the grid: '$opened'"
[[ "$opened" == "https://quorvane.example/download/qd-5.0.exe" ]] ||
  { echo "the grid's clicks opened '$opened', expected the one address of row 7" >&2; exit 1; }

# One click of "Обновить" (Button2, 167,490 112x34): the package and the list
# come from the local site, the package is unpacked, and the install dialog
# opens over the main one.
xdotool mousemove --window "$main" 223 507 click 1
copy="$(qd_window_named "$program" qdupdate.exe "Завершение обновления")"
shot "$copy" "$out/win32_install.png" 328x83
# Behind it the gauge (0,4 579x20) stands at 100%: filled in its fore colour
# (red 0, green 64, blue 128) but for the "100%" in white.
shot "$main" "$out/win32_main_downloaded.png" 580x534
filled="$(pixels_near "$out/win32_main_downloaded.png" 575x16+2+6 '#004080')"
echo "gauge: $filled pixels of the bar's colour"
((filled >= 575 * 16 * 8 / 10)) || { echo "the gauge is not full" >&2; exit 1; }
# "Продолжить  >>" (Button2, 5,44 154x34) installs the database; the system's
# message box reports it, and its OK (Enter, with the pointer over the box)
# ends the program.
xdotool mousemove --window "$copy" 82 61 click 1
box="$(qd_window_named "$program" qdupdate.exe "qdupdate")"
sleep 1
import -window "$box" "$out/win32_box.png"
xdotool mousemove --window "$box" 20 20 key Return
for _ in $(seq 300); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$program" 2>/dev/null; then
  echo "the program did not end after the message box" >&2
  exit 1
fi
wait "$program" && status=0 || status=$?
program=""
[[ "$status" == 0 ]] || { echo "the program exited with $status" >&2; exit 1; }
cmp -s "$(qd_wine_system_dir "$arch")/qdztempl.dll" "$site/www/qd.upd.source" ||
  { echo "the database was not installed" >&2; exit 1; }

# A list longer than the grid: the vertical scroll bar appears at the grid's
# right edge (the grid's client area ends at 573), and the mouse wheel moves
# the rows under the header.
data="$WINEPREFIX/drive_c/ProgramData/Quorvane"
{
  head -n 3 "$data/newupd.dat"
  for i in $(seq 1 40); do printf 'usual#%02d.11.2026#%s %d\r\n' "$((i % 28 + 1))" "$(echo 'Строка' | iconv -f UTF-8 -t CP1251)" "$i"; done
} >"$work/long.dat"
mv "$work/long.dat" "$data/newupd.dat"
qd_wine_end
(cd "$work/run/cwd" && exec env LANG="$QD_WINE_LANG" LC_ALL= LC_CTYPE= "$QD_WINE_LOADER" "$exe" \
  >"$work/stdout-long.txt" 2>"$work/stderr-long.txt") &
program=$!
main="$(qd_wine_named_main)"
shot "$main" "$out/win32_long_list.png" 580x534
white="$(pixels_near "$out/win32_long_list.png" 16x280+557+181 '#FFFFFF' 3)"
echo "scroll bar column: $white of 4480 pixels white"
((white < 2240)) || { echo "no vertical scroll bar on a list longer than the grid" >&2; exit 1; }
xdotool mousemove --window "$main" 300 300 click 5
sleep 1
import -window "$main" "$out/win32_long_list_scrolled.png"
convert "$out/win32_long_list.png" -crop 550x22+3+202 +repage "$work/row-before.png"
convert "$out/win32_long_list_scrolled.png" -crop 550x22+3+202 +repage "$work/row-after.png"
moved="$(compare -metric AE "$work/row-before.png" "$work/row-after.png" null: 2>&1 || true)"
echo "first data row after the wheel: $moved pixels changed"
[[ "$moved" =~ ^[0-9]+$ ]] && ((moved > 10)) || { echo "the wheel did not scroll the rows" >&2; exit 1; }
xdotool mousemove --window "$main" 355 507 click 1
wait "$program" && status=0 || status=$?
program=""
[[ "$status" == 0 ]] || { echo "the program exited with $status after Отмена" >&2; exit 1; }
echo "both dialogs shown, the long list scrolled; screenshots in $out"
