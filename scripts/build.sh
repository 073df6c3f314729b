#!/usr/bin/env bash
# Configures and builds the Linux program, tools and tests into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${QD_PRESET:-dev}"
cmake --preset "$preset" >/dev/null
cmake --build build -j"$(nproc)"
