#!/usr/bin/env bash
# Builds Qt 6 for 64-bit Windows from Debian's own qt6-base (and qt6-imageformats) sources with
# MinGW-w64, into a cache outside the work tree, and prints the install prefix on its last line.
# A cache keyed by the Qt version and the options is reused as it is; nothing is rebuilt then.
#
# Usage: scripts/build-qt-windows.sh            (cache: $MOZA_QT_WINDOWS_CACHE or /var/cache/moza-qt-windows)
set -euo pipefail
cd "$(dirname "$0")/.."

cache="${MOZA_QT_WINDOWS_CACHE:-/var/cache/moza-qt-windows}"
version=6.4.2
triplet=x86_64-w64-mingw32

# What the Windows program needs: Core, Gui, Widgets, Concurrent, the windows platform plugin and
# Test for the widget tests; the rest is off. Debian's source drops the Wintab header, so tablet
# events are off, and dynamic GL with them (it needs OpenGL). The picture and font libraries are
# Qt's bundled ones, built in.
options=(
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF
  -DFEATURE_printsupport=OFF -DFEATURE_tabletevent=OFF -DFEATURE_dynamicgl=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
  -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF
  -DFEATURE_testlib=ON
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DBUILD_WITH_PCH=OFF
)
key=$(printf '%s\n' "$version" "${options[@]}" "$(x86_64-w64-mingw32-g++-posix -dumpfullversion 2>/dev/null)" |
        sha256sum | cut -c1-12)
prefix="$cache/qt-$version-$key"
if [[ -f "$prefix/.complete" ]]; then
  echo "Qt $version for Windows: cached in $prefix" >&2
  echo "$prefix"
  exit 0
fi

MOZA_WITH_WINDOWS=1 bash scripts/install-deps.sh
need=(dpkg-dev xz-utils)
missing=()
for p in "${need[@]}"; do dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p"); done
sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
if [[ ${#missing[@]} -gt 0 ]]; then "${sudo[@]}" apt-get install -y -qq "${missing[@]}" >&2; fi

# Debian's source packages come from the archive the machine already uses: a deb-src entry for
# the same suite and component.
if ! apt-cache showsrc qt6-base 2>/dev/null | grep -q "^Version: $version"; then
  "${sudo[@]}" tee /etc/apt/sources.list.d/moza-deb-src.sources >/dev/null <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  "${sudo[@]}" apt-get update -qq >&2
fi

mkdir -p "$cache/src"
fetch() {  # fetch PACKAGE FOLDER: the source package unpacked with Debian's patches, checked by apt
  local package=$1 folder=$2
  [[ -f "$cache/src/$folder/.unpacked" ]] && return 0
  (cd "$cache/src" && rm -rf "$folder" && apt-get source -q --download-only "$package" >&2 &&
     dpkg-source -x "$(ls "${package}_${version}"*.dsc | head -n 1)" "$folder" >&2 && touch "$folder/.unpacked")
}
fetch qt6-base qtbase
fetch qt6-imageformats qtimageformats

jobs=$(nproc)
cross=(
  -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix"
  -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=x86_64
  -DCMAKE_C_COMPILER=$triplet-gcc-posix -DCMAKE_CXX_COMPILER=$triplet-g++-posix -DCMAKE_RC_COMPILER=$triplet-windres
  -DCMAKE_FIND_ROOT_PATH="/usr/$triplet;$prefix" -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER
  -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY
  -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=BOTH
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
)
start=$(date +%s)
# build NAME SOURCE [OPTIONS...]: configures, builds and installs one Qt module, once.
build() {
  local name=$1 source=$2
  shift 2
  [[ -f "$prefix/.$name-complete" ]] && return 0
  local folder="$cache/build-$name-$key"
  rm -rf "$folder"
  cmake -S "$source" -B "$folder" "${cross[@]}" "$@" >"$cache/configure-$name.log" 2>&1 ||
    { tail -n 40 "$cache/configure-$name.log" >&2; exit 1; }
  echo "Qt $version for Windows: $name configured in $(($(date +%s) - start)) s" >&2
  cmake --build "$folder" -j "$jobs" >"$cache/build-$name.log" 2>&1 || { tail -n 40 "$cache/build-$name.log" >&2; exit 1; }
  cmake --install "$folder" >/dev/null
  touch "$prefix/.$name-complete"
  echo "Qt $version for Windows: $name built in $(($(date +%s) - start)) s" >&2
}
build qtbase "$cache/src/qtbase" "${options[@]}"
# TIFF and WebP through qt6-imageformats' bundled libtiff and libwebp.
build qtimageformats "$cache/src/qtimageformats" -DCMAKE_PREFIX_PATH="$prefix" \
  -DFEATURE_system_tiff=OFF -DFEATURE_system_webp=OFF -DFEATURE_jasper=OFF -DFEATURE_mng=OFF

# Qt's Japanese catalogue, the same for every system, from Debian's qt6-translations-l10n.
mkdir -p "$prefix/translations"
cp /usr/share/qt6/translations/qtbase_ja.qm "$prefix/translations/"

touch "$prefix/.complete"
echo "Qt $version for Windows: built into $prefix in $(($(date +%s) - start)) s" >&2
echo "$prefix"
