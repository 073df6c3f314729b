#!/usr/bin/env bash
# Configures and builds with one of the presets of CMakePresets.json:
# QD_PRESET (default dev: the Linux program, tools and tests into build/).
# Arguments name the targets to build; without any, everything is built.
# Extra configure options come from QD_CONFIGURE (space separated).
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${QD_PRESET:-dev}"
read -r -a extra <<<"${QD_CONFIGURE:-}"
cmake --preset "$preset" "${extra[@]}" >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build --preset "$preset" -j"$(nproc)" "${targets[@]}"
