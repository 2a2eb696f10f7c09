#!/usr/bin/env bash
# Installs the Debian 12 packages Moza needs to build, test and run; does nothing when all are present.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  # core and tests
  libgtest-dev libgmock-dev libbenchmark-dev
  # desktop program and picture decoding
  qt6-base-dev qt6-webengine-dev qt6-image-formats-plugins libgl-dev
  # glyph-table generator and the font it measures
  libfreetype-dev libfontconfig-dev fonts-ipafont-gothic
  # screenshots and checks without a display
  xvfb xauth xdotool imagemagick
)
if [[ "${MOZA_WITH_BENCH_TOOLS:-0}" == 1 ]]; then
  packages+=(libjpeg-turbo-progs jp2a hyperfine chromium)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing Debian packages: ${missing[*]}" >&2
sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq "${missing[@]}" >&2
