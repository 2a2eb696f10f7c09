#!/usr/bin/env bash
# Makes the packages from a build folder (default build/ci, built first when needed):
# moza_<version>_amd64.deb and moza-<version>-linux-x86_64.tar.gz, in <build>/packages.
# Usage: scripts/package.sh [build-folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/ci}"
cmake --build "$build" -j "$(nproc)" --target moza moza-convert moza_desktop_files moza_program_folder
rm -rf "$build/packages"
cpack --config "$build/CPackConfig.cmake" -B "$build/packages" >/dev/null
rm -rf "$build/packages/_CPack_Packages"
ls -l "$build"/packages/*.deb "$build"/packages/*.tar.gz
