#!/usr/bin/env bash
# Builds Moza with a CMake preset (default: release), installing missing Debian packages first.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-release}"
bash scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
