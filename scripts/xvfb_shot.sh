#!/usr/bin/env bash
# Runs a program under a private Xvfb display, waits for its window, saves a
# PNG of the program's first window and closes it.
# Usage: xvfb_shot.sh OUT.png PROGRAM [ARGS...]
# The program's exit code becomes this script's.
set -euo pipefail
out="$1"
shift
# Xvfb writes the display number to the pipe once it accepts clients; a
# number already taken makes it exit, and another is tried. The server is
# waited for on exit, so that its clean-up never meets a later run's server.
xvfb=""
trap '[[ -n "$xvfb" ]] && kill $xvfb 2>/dev/null && while kill -0 $xvfb 2>/dev/null; do sleep 0.05; done' EXIT
number=""
for _ in 1 2 3 4 5; do
  exec {fd}< <(
    Xvfb ":$((100 + RANDOM % 900))" -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null &
    echo "pid $!"
    wait
  )
  read -r _ xvfb <&"$fd"
  read -r -t 30 number <&"$fd" && break
  number=""
done
if [[ -z "$number" ]]; then
  echo "xvfb_shot: Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=":$number"
"$@" &
program=$!
window=""
# A loaded machine (tests run in parallel) may take a while to map the window.
for _ in $(seq 300); do
  window=$(xdotool search --onlyvisible --pid "$program" 2>/dev/null | head -1 || true)
  [[ -n "$window" ]] && break
  if ! kill -0 "$program" 2>/dev/null; then
    wait "$program" && status=0 || status=$?
    echo "xvfb_shot: '$1' ended (exit $status) before its window appeared" >&2
    exit 1
  fi
  sleep 0.1
done
if [[ -z "$window" ]]; then
  echo "xvfb_shot: no window of '$1' appeared within 30 seconds" >&2
  kill $program 2>/dev/null || true
  exit 1
fi
sleep 1  # let the first paint finish
import -window "$window" "$out"
xdotool windowclose "$window" 2>/dev/null || kill $program
wait $program
