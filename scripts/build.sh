#!/usr/bin/env bash
# Builds Moza with a CMake preset (default: release), installing missing Debian packages first.
# Usage: scripts/build.sh [preset] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-release}"
shift || true
bash scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build --preset "$preset" -j "$(nproc)" "${targets[@]}"
