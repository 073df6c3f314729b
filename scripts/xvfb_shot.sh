#!/usr/bin/env bash
# Runs a program under a private Xvfb display, waits for its window, saves a
# PNG of the program's first window and closes it.
# Usage: xvfb_shot.sh OUT.png PROGRAM [ARGS...]
# The program's exit code becomes this script's.
set -euo pipefail
out="$1"
shift
display=":$((90 + RANDOM % 400))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
"$@" &
program=$!
window=""
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --pid "$program" 2>/dev/null | head -1 || true)
  [[ -n "$window" ]] && break
  sleep 0.1
done
if [[ -z "$window" ]]; then
  echo "xvfb_shot: no window of '$1' appeared" >&2
  kill $program 2>/dev/null || true
  exit 1
fi
sleep 1  # let the first paint finish
import -window "$window" "$out"
xdotool windowclose "$window" 2>/dev/null || kill $program
wait $program
