# Sourced by the scripts that drive the desktop program on a display: how to find its main window.
# The client area's size is kClientSize in src/ui/frm_main.cpp; the configure step checks they agree.
MOZA_CLIENT_WIDTH=528
MOZA_CLIENT_HEIGHT=344

# The visible main window's id, or nothing yet: the window named Moza whose client area is
# MOZA_CLIENT_WIDTH wide (the splash, named alike, is 312 wide).
mozaMainWindow() {
  local id
  for id in $(xdotool search --onlyvisible --name '^Moza$' 2>/dev/null || true); do
    if [[ $(xdotool getwindowgeometry "$id" 2>/dev/null) == *"Geometry: ${MOZA_CLIENT_WIDTH}x"* ]]; then echo "$id"; return; fi
  done
}

# The height of the menu bar of main window $1, above its client area.
mozaMenuHeight() {
  local height
  height=$(xdotool getwindowgeometry "$1" | sed -n "s/.*Geometry: ${MOZA_CLIENT_WIDTH}x\([0-9]*\).*/\1/p")
  echo $((height - MOZA_CLIENT_HEIGHT))
}

# Waits up to $2 tenths of a second for the main window of the program whose process is $1, and
# prints its id; prints nothing when the program ends first or the time runs out (kill -0 tells which).
mozaWaitForMainWindow() {
  local id
  for _ in $(seq 1 "$2"); do
    id=$(mozaMainWindow)
    if [[ -n "$id" ]]; then echo "$id"; return; fi
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
}
