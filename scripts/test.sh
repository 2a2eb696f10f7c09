#!/usr/bin/env bash
# Runs every test: installs missing packages, builds with warnings as errors, runs CTest,
# then runs the character-table fuzzer briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh ci
ctest --preset ci -j 2
bash scripts/fuzz.sh 30
