#!/usr/bin/env bash
# Drives the FLTK program built with a key to the refusal of an update that
# is not the publisher's, under a private Xvfb display: "Обновить" in the main
# dialog, a screenshot of the error box, OK, then the main dialog's close
# box. Saves the screenshots into SHOTDIR.
# Usage: xvfb_refusal.sh SHOTDIR PROGRAM   (QD_ROOT, QD_UPDATE_URL and the
# working directory as the program needs them)
set -euo pipefail
source "$(dirname "$0")/xvfb_lib.sh"
shots="$1"
start_program xvfb_refusal "$shots" "$2"

main=$(wait_window $program "Обновление базы") || fail "the main dialog did not appear"
sleep 1
# "Обновить": the button at 167,490, 112 by 34.
xdotool mousemove --window "$main" 223 507 click 1
box=$(wait_window $program "Error") || fail "the error box did not appear"
sleep 0.5
import -window root "$shots/5-refused.png"
eval "$(xdotool getwindowgeometry --shell "$box")"
xdotool mousemove --window "$box" $((WIDTH / 2)) $((HEIGHT - 25)) click 1
sleep 0.5
# The main dialog stays open after the refusal; its close box ends the run.
xdotool windowclose "$main" 2>/dev/null || xdotool windowkill "$main"
for _ in $(seq 100); do
  kill -0 $program 2>/dev/null || break
  sleep 0.1
done
kill -0 $program 2>/dev/null && fail "the program did not end after its dialog closed"
wait $program
