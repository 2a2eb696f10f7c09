#!/usr/bin/env bash
# Runs the desktop program under Xvfb as a user would: opens the sample photo through File > Open,
# types a title, presses 作成, waits for the page to show, and saves a picture of the window to
# docs/screenshot.png.
# Usage: scripts/screenshot.sh [build-dir]   (default build/release; the program is built if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/main-window.sh

if [[ "${1:-}" != "--inside-xvfb" ]]; then
  build="${1:-build/release}"
  bash scripts/install-deps.sh
  if [[ ! -x "$build/bin/moza" ]]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" --target moza
  fi
  mkdir -p docs
  exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash "$0" --inside-xvfb "$build"
fi

build="$2"
picture="$PWD/samples/seeding_640x480.jpg"
output="$PWD/docs/screenshot.png"
temp="$build/bin/temp"
mkdir -p "$temp"
before=$(find "$temp" -maxdepth 1 -name '*.html' | wc -l)

"$build/bin/moza" 2>/tmp/moza-screenshot.log &
program=$!
trap 'kill "$program" 2>/dev/null || true' EXIT

fail() { echo "screenshot: $*" >&2; cat /tmp/moza-screenshot.log >&2; exit 1; }

window=$(mozaWaitForMainWindow "$program" 300)
kill -0 "$program" 2>/dev/null || fail "the program ended before its main window showed"
[[ -n "$window" ]] || fail "no main window after 30 s"
menu=$(mozaMenuHeight "$window")
sleep 1

# File > Open with its access keys, then the file name typed into the dialog.
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers alt+f
sleep 0.5
xdotool key o
sleep 1.5
xdotool type --delay 10 "$picture"
xdotool key Return
sleep 1

# The title, then the make button, clicked where they sit in the client area.
xdotool mousemove --window "$window" 136 $((menu + 233)) click 1
xdotool type --delay 20 "seeding"
xdotool mousemove --window "$window" 160 $((menu + 320)) click 1

for _ in $(seq 1 300); do
  [[ $(find "$temp" -maxdepth 1 -name '*.html' | wc -l) -gt $before ]] && break
  sleep 0.1
done
[[ $(find "$temp" -maxdepth 1 -name '*.html' | wc -l) -gt $before ]] || fail "no page was made"
xdotool mousemove --window "$window" 520 $((menu + 340))  # the pointer out of the way
sleep 4  # the page view loads and paints the page on its own

import -window "$window" "$output"
echo "screenshot: $output"
