#!/usr/bin/env bash
# Checks the packages as a user meets them: the .deb's dependencies are installed here and it is
# unpacked into a scratch root; the .tar.gz is unpacked into another folder. Each copy's
# moza-convert must make the same page as the build's, into the right temp folder, and each
# copy's moza must start to its main window with a picture and close (scripts/check-desktop-start.sh).
# Usage: scripts/check-package.sh [build-folder]   (default build/ci, after scripts/package.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/ci}"
deb=$(ls "$build"/packages/moza_*_amd64.deb)
archive=$(ls "$build"/packages/moza-*-linux-x86_64.tar.gz)
picture="$PWD/samples/seeding_640x480.jpg"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "check-package: $*" >&2; exit 1; }

# Every dependency the .deb names is installed at a version it accepts.
dependsOk() {
  local entry name relation version installed
  while read -r entry; do
    name=${entry%% *}
    installed=$(dpkg-query -W -f='${Version}' "$name" 2>/dev/null) || fail "$(basename "$deb") needs $entry, which is not installed"
    if [[ "$entry" == *"("* ]]; then
      relation=$(sed 's/.*(\([<>=]*\) .*/\1/' <<<"$entry")
      version=$(sed 's/.*([<>=]* \(.*\))/\1/' <<<"$entry")
      dpkg --compare-versions "$installed" "$relation" "$version" || fail "$(basename "$deb") needs $entry, $installed is installed"
    fi
  done < <(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/^ *//; s/ *$//')
}
dependsOk

# The page the build makes, to compare each installed copy's page with.
"$build/bin/moza-convert" -q -t sample -o "$work/expected.html" "$picture"

# $1: moza-convert to run, $2: the temp folder its page must land in.
convertsLikeTheBuild() {
  local page
  page=$(HOME="$work/home" XDG_DATA_HOME= "$1" -t sample "$picture")
  [[ "$(dirname "$page")/" == "$2" ]] || fail "$1 wrote its page to $page, not into $2"
  cmp -s "$page" "$work/expected.html" || fail "$1 made a page that differs from the build's: $page"
  echo "check-package: $1 made $page, the same bytes as the build's page"
}

mkdir -p "$work/root" "$work/home"
dpkg-deb -x "$deb" "$work/root"
convertsLikeTheBuild "$work/root/usr/bin/moza-convert" "$work/home/.local/share/moza/temp/"
HOME="$work/home" bash scripts/check-desktop-start.sh "$work/root/usr/bin/moza" "$picture" "$build/packages/installed-moza.png"

mkdir -p "$work/elsewhere"
tar -xzf "$archive" -C "$work/elsewhere"
[[ -d "$work/elsewhere/moza/temp" && -z "$(ls -A "$work/elsewhere/moza/temp")" ]] || fail "the archive has no empty moza/temp/"
convertsLikeTheBuild "$work/elsewhere/moza/moza-convert" "$work/elsewhere/moza/temp/"
HOME="$work/home" bash scripts/check-desktop-start.sh "$work/elsewhere/moza/moza" "$picture" "$build/packages/portable-moza.png"
echo "check-package: $(basename "$deb") ($(stat -c %s "$deb") bytes) and $(basename "$archive") ($(stat -c %s "$archive") bytes) work as installed and as unpacked"
