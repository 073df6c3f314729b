#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, cross-builds for
# Windows, runs the short fuzz runs and the threaded tests under
# ThreadSanitizer, and runs every test.
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
ctest --output-on-failure -j2 --timeout 600
