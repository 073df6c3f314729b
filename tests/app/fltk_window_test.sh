#!/usr/bin/env bash
# Starts the FLTK program under Xvfb on the sample list, saves a screenshot of
# its window and checks that it has the dialog's client size and that the
# grid area holds drawn text, not just the background and grid lines.
set -euo pipefail
program="$1" shot="$2"
here="$(cd "$(dirname "$0")" && pwd)"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
bash "$here/../../scripts/make_sample_root.sh" "$root"
QD_ROOT="$root" bash "$here/../../scripts/xvfb_shot.sh" "$shot" "$program"
size=$(identify -format '%wx%h' "$shot")
if [[ "$size" != "580x534" ]]; then
  echo "window is $size, expected 580x534" >&2
  exit 1
fi
# The grid's data rows (below its header) must show more colours than the
# white background and the silver lines: the text of the sample rows.
colours=$(convert "$shot" -crop 550x100+3+202 +repage -unique-colors -format '%w' info:)
echo "screenshot $shot: $size, $colours colours in the grid's first rows"
if ((colours < 8)); then
  echo "the grid area looks empty" >&2
  exit 1
fi
