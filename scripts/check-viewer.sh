#!/usr/bin/env bash
# Checks what a user sees of the art, on a real X desktop (Xvfb with a window manager): makes a
# page through the window (title typed, Enter), zooms the pane with Ctrl++ while the focus is still
# in the title box, opens the viewer window with F11, and compares, each shrunk to 64 x 48 grey
# pixels, the picture with the fitted pane, the viewer window and the PNG moza-convert --image draws
# (normalised cross-correlation, ImageMagick's NCC).
# Usage: scripts/check-viewer.sh BUILD-DIR [PICTURE]   (default picture: samples/seeding_640x480.jpg)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/main-window.sh

if [[ "${1:-}" != "--inside-xvfb" ]]; then
  build="${1:?usage: scripts/check-viewer.sh BUILD-DIR [PICTURE]}"
  picture="$(realpath "${2:-samples/seeding_640x480.jpg}")"
  exec xvfb-run -a -s "-screen 0 1280x900x24 -dpi 96" bash "$0" --inside-xvfb "$build" "$picture"
fi
build="$2"
picture="$3"
work=$(mktemp -d)
log="$work/moza.log"
export XDG_CONFIG_HOME="$work/config"  # a first run: no remembered window places
openbox >/dev/null 2>&1 &
wm=$!
"$build/bin/moza" "$picture" 2>"$log" &
program=$!
trap 'kill "$program" "$wm" 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "check-viewer: $*" >&2; cat "$log" >&2; exit 1; }

windowOf() {  # the visible window named $1 whose geometry matches $2
  for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null || true); do
    if xdotool getwindowgeometry "$id" | grep -q "Geometry: $2"; then echo "$id"; return; fi
  done
}
main=$(mozaWaitForMainWindow "$program" 300)
kill -0 "$program" 2>/dev/null || fail "the program ended before its main window showed"
[[ -n "$main" ]] || fail "no main window after 30 s"
menu=$(mozaMenuHeight "$main")
xdotool windowactivate --sync "$main"
sleep 0.5
# The normal flow: the title typed, Enter pressed in the title box, which keeps the focus.
xdotool mousemove --window "$main" 136 $((menu + 233)) click 1
xdotool type --delay 20 "viewer"
xdotool key Return
xdotool mousemove --window "$main" 520 $((menu + 340))  # the pointer out of the way
sleep 4
pane() { import -window "$main" -crop 312x249+208+$((menu + 8)) +repage "$1"; }
pane "$work/fitted.png"
xdotool key ctrl+plus
sleep 1
pane "$work/zoomed.png"
xdotool key F11
viewer=""
for _ in $(seq 1 100); do
  viewer=$(windowOf 'viewer.* - Moza$' '')
  [[ -n "$viewer" ]] && break
  sleep 0.1
done
[[ -n "$viewer" ]] || fail "F11 opened no viewer window"
sleep 2
import -window "$viewer" "$work/viewer.png"
"$build/bin/moza-convert" -q --image "$work/art.png" --no-page "$picture" || fail "moza-convert --image failed"

ncc() {  # the correlation of two pictures, each shrunk to 64 x 48 grey pixels (in the scratch folder)
  convert "$1" -colorspace Gray -resize '64x48!' "$work/a.small.png"
  convert "$2" -colorspace Gray -resize '64x48!' "$work/b.small.png"
  compare -metric NCC "$work/a.small.png" "$work/b.small.png" null: 2>&1 || true
}
size() { identify -format '%w x %h' "$1"; }
changed=$(compare -metric AE "$work/fitted.png" "$work/zoomed.png" null: 2>&1 || true)
echo "pane: $changed pixels changed by Ctrl++ with the focus in the title box"
echo "viewer window: $(size "$work/viewer.png") (main window: $(xdotool getwindowgeometry "$main" | sed -n 's/.*Geometry: //p'))"
# The pane and the viewer show the page with its margins and the grey around it: their page part,
# without the viewer's status bar and the focus frame round its view.
convert "$work/viewer.png" -gravity South -chop 0x30 -shave 3x3 +repage -fuzz 3% -trim +repage "$work/viewer-page.png"
convert "$work/fitted.png" -shave 3x3 +repage -fuzz 3% -trim +repage "$work/fitted-page.png"
fitted=$(ncc "$picture" "$work/fitted-page.png")
viewed=$(ncc "$picture" "$work/viewer-page.png")
drawn=$(ncc "$picture" "$work/art.png")
echo "correlation with the picture: pane fitted $fitted, viewer window $viewed, --image PNG $drawn"
[[ "$changed" -gt 1000 ]] || fail "Ctrl++ did not change the pane"
awk -v v="$viewed" -v d="$drawn" -v f="$fitted" 'BEGIN { exit !(v > 0.8 && d > 0.8 && d >= f - 0.02) }' ||
  fail "the viewer window or the --image PNG does not look like the picture"
echo "check-viewer: ok"
