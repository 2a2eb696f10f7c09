#!/usr/bin/env bash
# Installs the Debian 12 packages Moza needs to build, test and run; does nothing when all are present.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  # the layout of changed lines (clang-format-diff)
  clang-format
  # core and tests
  libgtest-dev libgmock-dev libbenchmark-dev
  # desktop program and picture decoding
  qt6-base-dev qt6-webengine-dev qt6-image-formats-plugins libgl-dev
  # JPEG photos decoded without Qt in between
  libjpeg-dev
  # Japanese: Qt's own translations, and lrelease / lupdate with their CMake package
  qt6-translations-l10n qt6-l10n-tools qt6-tools-dev
  # glyph-table generator and the font it measures
  libfreetype-dev libfontconfig-dev fonts-ipafont-gothic
  # screenshots and checks without a display
  xvfb xauth xdotool imagemagick openbox
  # the packages: icons, man pages, desktop-file checks, the .deb and its computed dependencies
  librsvg2-bin help2man desktop-file-utils appstream dpkg-dev file
)
if [[ "${MOZA_WITH_BENCH_TOOLS:-0}" == 1 ]]; then
  packages+=(libjpeg-turbo-progs jp2a hyperfine chromium python3-numpy python3-pil)
fi
# The Windows builds (Qt for Windows from Debian's sources, the program, its zip and installer)
# and their tests under Wine, without Wine's optional extras.
lean=()
if [[ "${MOZA_WITH_WINDOWS:-0}" == 1 ]]; then
  lean+=(g++-mingw-w64-x86-64-posix googletest wine wine64 locales nsis zip unzip dpkg-dev xz-utils)
fi

missingOf() {
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}
mapfile -t missing < <(missingOf "${packages[@]}")
mapfile -t missingLean < <(missingOf "${lean[@]}")
[[ ${#missing[@]} -eq 0 && ${#missingLean[@]} -eq 0 ]] && exit 0

echo "Installing Debian packages: ${missing[*]} ${missingLean[*]}" >&2
sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
if [[ ${#missing[@]} -gt 0 ]]; then "${sudo[@]}" apt-get install -y -qq "${missing[@]}" >&2; fi
if [[ ${#missingLean[@]} -gt 0 ]]; then "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missingLean[@]}" >&2; fi
