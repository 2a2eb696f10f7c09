#!/usr/bin/env bash
# Runs every test: installs missing packages, builds with warnings as errors, fuzzes the
# character-table reader and the picture loader briefly, runs the core and command-line tests under
# the address and undefined-behaviour sanitizers, then runs every test of the optimised build. A
# failing test's whole output reaches the log.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh ci
bash scripts/fuzz.sh 20

cmake --preset asan -DMOZA_BUILD_UI=OFF -DMOZA_BUILD_TOOLS=OFF -DMOZA_BUILD_BENCH=OFF >/dev/null
cmake --build --preset asan -j "$(nproc)"
ctest --preset asan -j 2 --output-on-failure

ctest --preset ci -j 2
