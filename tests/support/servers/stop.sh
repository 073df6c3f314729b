#!/usr/bin/env bash
# Stops the server that start.sh started in DIR and waits until it is gone.
set -uo pipefail
dir="$1"
[[ -s "$dir/server.pid" ]] || exit 0
pid="$(cat "$dir/server.pid")"
kill "$pid" 2>/dev/null || exit 0
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || { rm -f "$dir/server.pid"; exit 0; }
  sleep 0.05
done
kill -9 "$pid" 2>/dev/null
rm -f "$dir/server.pid"
