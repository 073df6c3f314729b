#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, cross-builds for
# Windows, runs the short fuzz runs and the threaded tests under
# ThreadSanitizer, and runs every test. Ends with a line that says how many
# tests were skipped and why, when any were.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh test
QD_PRESET=ci bash scripts/build.sh
QD_WERROR=ON bash scripts/cross_build.sh
for fuzz in scripts/fuzz_*.sh; do
  [[ -e "$fuzz" ]] && bash "$fuzz" "${QD_FUZZ_SECONDS:-60}"
done
bash scripts/tsan.sh
cd build
status=0
ctest --output-on-failure -j2 --timeout 600 2>&1 | tee ctest.log || status=$?
# ctest lists the tests that did not run at its end, each with "(Skipped)";
# the Wine set-up writes down why it skips the 32-bit programs' tests.
skipped="$(grep -cE '^[[:space:]]+[0-9]+ - .*\(Skipped\)$' ctest.log || true)"
if ((skipped > 0)); then
  # Each skipped test printed its name and reason into ctest's log.
  grep -h ' skipped: ' Testing/Temporary/LastTest*.log 2>/dev/null | sort -u | sed 's/^/test.sh: /' || true
  reason="see the list above"
  [[ -f tests/wine/skipped.txt ]] && reason="the i686 Wine tests, because $(cat tests/wine/skipped.txt)"
  echo "test.sh: $skipped tests skipped: $reason"
fi
exit "$status"
