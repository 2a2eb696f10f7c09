#!/usr/bin/env bash
# The main job: with no arguments converts the sample picture and prints where its page is;
# with arguments passes them to moza-convert.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh release >&2
bin="$PWD/build/release/bin"
if [[ $# -eq 0 ]]; then
  exec "$bin/moza-convert" -t "seeding" "$PWD/samples/seeding_640x480.jpg"
fi
exec "$bin/moza-convert" "$@"
