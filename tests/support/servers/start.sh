#!/usr/bin/env bash
# Starts a real server or proxy from Debian's packages for one test, on
# 127.0.0.1 and a free port, with its configuration written into DIR, and
# prints the port once it accepts connections. stop.sh DIR stops it.
#
#   start.sh nginx DIR        web server over DIR/www (see nginx.conf.in)
#   start.sh http10 DIR       Python's http.server: HTTP/1.0, closes after each body
#   start.sh squid DIR USER PASS       squid with Basic authentication (basic_ncsa_auth)
#   start.sh tinyproxy DIR USER PASS   tinyproxy with BasicAuth
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
kind="$1"
dir="$(mkdir -p "$2" && cd "$2" && pwd)"
mkdir -p "$dir/www"

free_port() {
  python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

wait_listening() {
  local port="$1" pidfile="$2"
  for _ in $(seq 1 200); do
    if python3 -c "import socket,sys; s=socket.socket(); s.settimeout(0.2); sys.exit(s.connect_ex(('127.0.0.1', $port)))" 2>/dev/null; then
      return 0
    fi
    if [[ -s "$pidfile" ]] && ! kill -0 "$(cat "$pidfile")" 2>/dev/null; then
      break
    fi
    sleep 0.05
  done
  echo "start.sh: $kind did not start on port $port; its logs:" >&2
  tail -n 20 "$dir"/*.log >&2 || true
  return 1
}

port="$(free_port)"
case "$kind" in
  nginx)
    sed -e "s|@DIR@|$dir|g" -e "s|@PORT@|$port|g" "$here/nginx.conf.in" >"$dir/nginx.conf"
    : >"$dir/error.log"
    nginx -c "$dir/nginx.conf" -p "$dir" -g "pid $dir/server.pid;"
    ;;
  http10)
    (cd "$dir/www" && exec python3 -m http.server --bind 127.0.0.1 "$port" \
      >"$dir/http10.log" 2>&1) &
    echo $! >"$dir/server.pid"
    ;;
  squid)
    user="$3" pass="$4"
    htpasswd -bcm "$dir/passwd" "$user" "$pass" >/dev/null 2>&1
    sed -e "s|@DIR@|$dir|g" -e "s|@PORT@|$port|g" "$here/squid.conf.in" >"$dir/squid.conf"
    chown -R proxy "$dir" 2>/dev/null || true
    chmod 755 "$dir"
    (exec squid -N -f "$dir/squid.conf" >"$dir/squid-stdout.log" 2>&1) &
    echo $! >"$dir/server.pid"
    ;;
  tinyproxy)
    user="$3" pass="$4"
    sed -e "s|@DIR@|$dir|g" -e "s|@PORT@|$port|g" -e "s|@USER@|$user|g" -e "s|@PASS@|$pass|g" \
      "$here/tinyproxy.conf.in" >"$dir/tinyproxy.conf"
    : >"$dir/tinyproxy.log"
    chown nobody "$dir" "$dir/tinyproxy.log" 2>/dev/null || true
    (exec tinyproxy -d -c "$dir/tinyproxy.conf" >"$dir/tinyproxy-stdout.log" 2>&1) &
    echo $! >"$dir/server.pid"
    ;;
  *)
    echo "start.sh: unknown kind $kind" >&2
    exit 2
    ;;
esac
wait_listening "$port" "$dir/server.pid"
echo "$port" >"$dir/port"
echo "$port"
