#!/usr/bin/env bash
# Starts a desktop program under Xvfb as a user would and checks that it reaches its main window,
# stays up, shows the picture it was given in the preview, and ends with status 0 through
# File > Exit. A picture of the window is kept for a look.
# Usage: scripts/check-desktop-start.sh MOZA PICTURE SCREENSHOT.png
set -euo pipefail
source "$(dirname "$0")/main-window.sh"
if [[ "${1:-}" != "--inside-xvfb" ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash "$0" --inside-xvfb "$@"
fi
moza="$2" picture="$3" screenshot="$4"
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
fail() { echo "check-desktop-start: $moza: $*" >&2; cat "$log" >&2; exit 1; }

"$moza" "$picture" 2>"$log" &
program=$!

window=$(mozaWaitForMainWindow "$program" 600)
kill -0 "$program" 2>/dev/null || fail "ended before its main window showed"
[[ -n "$window" ]] || { kill "$program"; fail "no main window after 60 s"; }
sleep 3
kill -0 "$program" 2>/dev/null || fail "ended after its main window showed"
import -window "$window" "$screenshot"

# The preview (a 189-pixel square inside the 193-pixel frame at 8,8 of the client area, under
# the menu bar) shows the picture: not one flat colour.
menu=$(mozaMenuHeight "$window")
spread=$(convert "$screenshot" -crop "189x189+10+$((menu + 10))" -colorspace Gray -format '%[fx:standard_deviation]' info:)
awk -v s="$spread" 'BEGIN { exit !(s > 0.02) }' || fail "the preview is blank (spread $spread): the picture was not opened"

# File > Exit through its access keys.
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers alt+f
sleep 0.5
xdotool key x
for _ in $(seq 1 100); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$program" 2>/dev/null; then kill "$program"; fail "still running 10 s after File > Exit"; fi
status=0
wait "$program" || status=$?
[[ $status -eq 0 ]] || fail "ended with status $status"
echo "check-desktop-start: $moza reached its main window, showed $picture and closed"
