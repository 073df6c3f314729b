#!/usr/bin/env bash
# Runs a program under a private Xvfb display, waits for its window, saves a
# PNG of the program's first window and closes it.
# Usage: xvfb_shot.sh OUT.png PROGRAM [ARGS...]
# The program's exit code becomes this script's.
set -euo pipefail
source "$(dirname "$0")/xvfb_lib.sh"
out="$1"
shift
start_xvfb
"$@" &
program=$!
if ! window=$(wait_window "$program" ""); then
  kill $program 2>/dev/null || true
  exit 1
fi
sleep 1  # let the first paint finish
import -window "$window" "$out"
xdotool windowclose "$window" 2>/dev/null || kill $program
wait $program
