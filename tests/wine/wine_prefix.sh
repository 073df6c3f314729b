#!/usr/bin/env bash
# Makes the Wine prefix that the Wine tests share, once per build folder: a
# 64-bit prefix (which runs 32-bit programs too) with the product's machine-
# wide registry key in both registry views, as the product's installer leaves
# it. A prefix made before is reused.
# Usage: wine_prefix.sh PREFIX
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine_env.sh"
mkdir -p "$(dirname "$1")"
qd_wine_setup_env "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
qd_wine_lock
if [[ -f "$WINEPREFIX/.qd-ready" ]]; then
  echo "reusing the Wine prefix $WINEPREFIX"
  exit 0
fi
rm -rf "$WINEPREFIX"
unset DISPLAY
start=$SECONDS
qd_wine wineboot -i >"$WINEPREFIX.boot.log" 2>&1 || {
  cat "$WINEPREFIX.boot.log" >&2
  exit 1
}
qd_wine reg add 'HKLM\SOFTWARE\Talvesk' /reg:32 /f >/dev/null
qd_wine reg add 'HKLM\SOFTWARE\Talvesk' /reg:64 /f >/dev/null
qd_wine_end
touch "$WINEPREFIX/.qd-ready"
echo "made the Wine prefix $WINEPREFIX in $((SECONDS - start)) s"
