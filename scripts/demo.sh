#!/usr/bin/env bash
# The demo: builds the program, makes a sandbox root with a sample update
# list and opens the main dialog. Without a display it runs under Xvfb and
# saves a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh demo
bash scripts/build.sh
root="$(mktemp -d /tmp/qdupdate-demo.XXXXXX)"
bash scripts/make_sample_root.sh "$root"
export QD_ROOT="$root"
echo "demo: sandbox root $root"
if [[ -n "${DISPLAY:-}" ]]; then
  ./build/app/qdupdate
else
  shot="$root/qdupdate.png"
  bash scripts/xvfb_shot.sh "$shot" ./build/app/qdupdate
  echo "demo: no display here; the main dialog was shown under Xvfb: $shot"
fi
