#!/usr/bin/env bash
# The main job. With no arguments: starts the desktop program (or, with no display, converts
# the sample picture with moza-convert and prints the page's path). With arguments: passes them
# to moza-convert. Builds first when needed.
set -euo pipefail
cd "$(dirname "$0")/.."
bin="$PWD/build/release/bin"
if [[ $# -gt 0 ]]; then
  bash scripts/build.sh release moza-convert >&2
  exec "$bin/moza-convert" "$@"
fi
bash scripts/build.sh release moza moza-convert >&2
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  exec "$bin/moza"
fi
echo "No display (DISPLAY and WAYLAND_DISPLAY are unset), so the desktop program cannot open." >&2
echo "Converting the sample picture with moza-convert instead:" >&2
exec "$bin/moza-convert" -t seeding "$PWD/samples/seeding_640x480.jpg"
