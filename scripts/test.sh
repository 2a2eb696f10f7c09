#!/usr/bin/env bash
# Runs every test: installs missing packages, checks the layout of the C++ lines changed since main
# (scripts/check-format.sh), builds with warnings as errors, makes the packages and checks them
# installed and unpacked, fuzzes the character-table reader, the page reader and the picture loader
# briefly, runs the core and command-line tests under the address and undefined-behaviour
# sanitizers, runs the core's tests built for Windows under Wine, builds the whole program for
# Windows with its packages and tries them under Wine, then runs every test of the optimised
# build. A failing test's whole output reaches the log.
set -euo pipefail
cd "$(dirname "$0")/.."
export MOZA_WITH_WINDOWS=1  # one round of package installs for everything below
bash scripts/install-deps.sh
bash scripts/check-format.sh
bash scripts/build.sh ci

seconds() { date +%s; }
start=$(seconds)
bash scripts/package.sh build/ci
bash scripts/check-package.sh build/ci
echo "Packages made and checked in $(($(seconds) - start)) s"

bash scripts/fuzz.sh 20

cmake --preset asan -DMOZA_BUILD_UI=OFF -DMOZA_BUILD_TOOLS=OFF -DMOZA_BUILD_BENCH=OFF >/dev/null
cmake --build --preset asan -j "$(nproc)"
ctest --preset asan -j 2 --output-on-failure

start=$(seconds)
bash scripts/test-windows.sh
echo "Windows build and Wine tests in $(($(seconds) - start)) s"

# The whole program for Windows: Qt for Windows (built once, then taken from its cache), the
# program, its zip and installer, and both tried under Wine.
start=$(seconds)
bash scripts/package-windows.sh
bash scripts/test-windows-app.sh build/ci
echo "Windows program, packages and Wine checks in $(($(seconds) - start)) s"

ctest --preset ci -j 2
bash scripts/check-viewer.sh build/ci
