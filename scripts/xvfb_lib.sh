# Sourced by the scripts that run the FLTK program under a private Xvfb
# display. start_xvfb starts one and exports DISPLAY; the server is stopped,
# and waited for, when the calling script exits.

xvfb_pid=""
stop_xvfb() {
  if [[ -n "$xvfb_pid" ]]; then
    kill "$xvfb_pid" 2>/dev/null
    while kill -0 "$xvfb_pid" 2>/dev/null; do sleep 0.05; done
  fi
}

# Starts the display and exports DISPLAY; the server's process is $xvfb_pid,
# the caller's to end (stop_xvfb).
launch_xvfb() {
  # Xvfb writes the display number to the pipe once it accepts clients; a
  # number already taken makes it exit, and another is tried. The server is
  # waited for on exit, so that its clean-up never meets a later run's server.
  local number="" fd
  for _ in 1 2 3 4 5; do
    exec {fd}< <(
      Xvfb ":$((100 + RANDOM % 900))" -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null &
      echo "pid $!"
      wait
    )
    read -r _ xvfb_pid <&"$fd"
    read -r -t 30 number <&"$fd" && break
    number=""
  done
  if [[ -z "$number" ]]; then
    echo "xvfb: Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$number"
}

start_xvfb() {
  trap stop_xvfb EXIT
  launch_xvfb
}

# wait_window PID NAME: prints the id of the program's visible window whose
# title holds NAME (any window of the program for an empty NAME) once it is
# mapped; fails after 30 seconds or when the program has ended.
wait_window() {
  local pid="$1" name="$2" window=""
  for _ in $(seq 300); do
    # Titles are compared as the window manager shows them (UTF-8): the
    # search's own name match reads the Latin-1 title property.
    window=""
    for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true); do
      if [[ -z "$name" ]] || xdotool getwindowname "$w" 2>/dev/null | grep -qF -- "$name"; then
        window="$w"
        break
      fi
    done
    if [[ -n "$window" ]]; then
      echo "$window"
      return 0
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "xvfb: no window '$name' of the program appeared" >&2
  return 1
}

# start_program TAG SHOTDIR PROGRAM: starts the display and PROGRAM under it
# ($program is its process), and defines fail MESSAGE, which prints the
# message after TAG, saves the screen as SHOTDIR/failure.png, ends the
# program and exits.
start_program() {
  xvfb_tag="$1" xvfb_shots="$2"
  mkdir -p "$xvfb_shots"
  start_xvfb
  "$3" &
  program=$!
}

fail() {
  echo "$xvfb_tag: $*" >&2
  import -window root "$xvfb_shots/failure.png" 2>/dev/null || true
  kill "$program" 2>/dev/null || true
  exit 1
}
