#!/usr/bin/env bash
# Drives the FLTK program through the whole update road under a private Xvfb
# display, as a user would with the mouse: "Обновить" in the main dialog,
# "Продолжить  >>" in the install dialog, OK in the success box. Saves a
# screenshot at each step into SHOTDIR.
# Usage: xvfb_road.sh SHOTDIR PROGRAM   (QD_ROOT, QD_UPDATE_URL and the
# working directory as the program needs them)
set -euo pipefail
source "$(dirname "$0")/xvfb_lib.sh"
shots="$1"
start_program xvfb_road "$shots" "$2"

# Clicks at a point of a window's client area.
click() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
}

main=$(wait_window $program "Обновление базы") || fail "the main dialog did not appear"
sleep 1
import -window "$main" "$shots/1-main.png"
# "Обновить": the button at 167,490, 112 by 34.
click "$main" 223 507
copy=$(wait_window $program "Завершение обновления") || fail "the install dialog did not appear"
sleep 0.5
import -window root "$shots/2-downloaded.png"
import -window "$copy" "$shots/3-install.png"
# "Продолжить  >>": the button at 5,44, 154 by 34.
click "$copy" 82 61
box=$(wait_window $program "qdupdate") || fail "the success box did not appear"
sleep 0.5
import -window root "$shots/4-success.png"
# The box's one button sits centred at its foot, 26 pixels high, 12 from
# the bottom edge.
eval "$(xdotool getwindowgeometry --shell "$box")"
click "$box" $((WIDTH / 2)) $((HEIGHT - 25))
for _ in $(seq 100); do
  kill -0 $program 2>/dev/null || break
  sleep 0.1
done
kill -0 $program 2>/dev/null && fail "the program did not end after the success box"
wait $program
