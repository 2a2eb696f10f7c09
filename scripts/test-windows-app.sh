#!/usr/bin/env bash
# Tries the Windows packages (scripts/package-windows.sh) under Wine as a Japanese Windows user
# would, from the unpacked zip: moza-convert.exe makes the same page, byte for byte, as the Linux
# build; moza.exe PICTURE starts under Xvfb, makes its page into temp\, shows the artwork in the
# pane (a screenshot of the pane must look like the picture), saves a copy through Save As and
# ends with status 0 through File > Exit; the installer installs silently, the installed program
# writes its page under %LOCALAPPDATA%, and the uninstaller removes it.
# The tests built by the windows-app preset run under Wine first.
# Usage: scripts/test-windows-app.sh LINUX-BUILD   (a Linux build folder with bin/moza-convert)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/main-window.sh
# Wine takes the Windows code page from the locale: a Japanese Windows (code page 932).
japanese() { LC_ALL=ja_JP.UTF-8 "$@"; }

if [[ "${1:-}" == --inside-xvfb ]]; then
  shift
  scratch=$1
  cd "$scratch"
  fail() { import -window root failure.png 2>/dev/null || true; echo "test-windows-app: $* (the screen: $scratch/failure.png)" >&2; exit 1; }
  japanese wine moza/moza.exe seeding.jpg >desktop.log 2>&1 &
  program=$!
  window=$(mozaWaitForMainWindow "$program" 1800)
  kill -0 "$program" 2>/dev/null || fail "moza.exe ended before its main window showed: $(cat desktop.log)"
  [[ -n "$window" ]] || fail "no main window after 180 s"
  menu=$(mozaMenuHeight "$window")
  sleep 2
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  # 作成, where it sits in the client area.
  xdotool mousemove --window "$window" 160 $((menu + 320)) click 1
  for _ in $(seq 1 300); do
    compgen -G 'moza/temp/*.html' >/dev/null && break
    sleep 0.1
  done
  page=$(compgen -G 'moza/temp/*.html' | head -n 1) || fail "no page was made in temp\\"
  xdotool mousemove --window "$window" 520 $((menu + 340))
  sleep 5  # the pane reads and draws the page on its own
  import -window "$window" window.png
  # The pane (312 x 249 at 208, 8): its artwork, without the page's white margins, against the
  # picture at the same size.
  convert window.png -crop "312x249+208+$((menu + 8))" +repage -fuzz 8% -trim +repage pane.png
  size=$(identify -format '%wx%h' pane.png)
  convert seeding.jpg -resize "$size!" picture.png
  ncc=$(compare -metric NCC pane.png picture.png null: 2>&1 || true)
  echo "The pane's artwork ($size) correlates with the picture: NCC $ncc"
  awk -v n="$ncc" 'BEGIN { exit !(n >= 0.5) }' || fail "the pane does not look like the picture (NCC $ncc)"

  # File > Save As (Ctrl+S): the name typed into the dialog, then Enter.
  xdotool key --clearmodifiers ctrl+s
  sleep 2
  xdotool type --delay 20 'Z:\tmp\moza-saved.html'
  xdotool key Return
  for _ in $(seq 1 100); do [[ -f /tmp/moza-saved.html ]] && break; sleep 0.1; done
  cmp "$page" /tmp/moza-saved.html || fail "Save As did not copy the page"
  rm -f /tmp/moza-saved.html
  echo "Save As copied the page"

  # File > Exit with its access keys.
  xdotool key --clearmodifiers alt+f
  sleep 0.5
  xdotool key x
  status=0
  wait "$program" || status=$?
  [[ $status -eq 0 ]] || fail "File > Exit ended with status $status"
  echo "File > Exit ended moza.exe with status 0"
  exit 0
fi

linux="${1:-build/ci}"
build="$PWD/build/windows-app"
version=$(sed -n 's/^project(Moza VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
packages="$build/packages"
scratch="$build/wine-check"
rm -rf "$scratch"
mkdir -p "$scratch"
cp samples/seeding_640x480.jpg "$scratch/seeding.jpg"
unzip -q "$packages/moza-$version-windows-x86_64.zip" -d "$scratch"

export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [[ ! -d "$build/locale/ja_JP.UTF-8" ]]; then
  mkdir -p "$build/locale"
  localedef -i ja_JP -f UTF-8 "$build/locale/ja_JP.UTF-8"
fi
export LOCPATH="$build/locale"
wineboot --init >/dev/null 2>&1 || true
trap 'wineserver -k 2>/dev/null || true' EXIT

# The tests built for Windows (the desktop program's widget tests among them), under Wine. The window
# tests sometimes hang as the program ends, after every test has passed: about 1 run in 6 of those
# that show the file dialogs, one thread left waiting on the Wine server. The windows-app test
# preset gives each program 300 s and runs one that timed out once more.
log="$scratch/ctest.log"
if ! japanese ctest --preset windows-app -j 2 --output-on-failure >"$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi
echo "Under Wine: $(grep -a -o -E '[0-9]+% tests passed.*' "$log")"

(cd "$scratch" && japanese wine moza/moza-convert.exe -q -t seeding -o windows.html seeding.jpg)
(cd "$scratch" && "$OLDPWD/$linux/bin/moza-convert" -q -t seeding -o linux.html seeding.jpg)
cmp "$scratch/windows.html" "$scratch/linux.html"
echo "moza-convert.exe made the Linux build's page, byte for byte ($(stat -c %s "$scratch/windows.html") bytes)"

# Wine's session (its server, its desktop) starts over inside Xvfb: one begun without a display shows no window.
wineserver -k 2>/dev/null || true
wineserver -w
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash "$0" --inside-xvfb "$scratch"
wineserver -w

# The installer, silently; the installed program's pages go to %LOCALAPPDATA%\moza\temp.
japanese wine "$packages/moza-$version-windows-x86_64-setup.exe" /S
wineserver -w
installed="$WINEPREFIX/drive_c/Program Files/Moza"
[[ -f "$installed/bin/moza.exe" && -f "$installed/share/moza/data/char.csv" ]]
japanese wine "$installed/bin/moza.exe" --version
(cd "$scratch" && japanese wine "C:/Program Files/Moza/bin/moza-convert.exe" -q -t installed seeding.jpg)
local_pages=$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/moza/temp/*_installed.html' | wc -l)
[[ $local_pages -eq 1 ]] || { echo "test-windows-app: the installed program wrote no page under %LOCALAPPDATA%" >&2; exit 1; }
echo "Installed silently; the installed program wrote its page under %LOCALAPPDATA%\\moza\\temp"
japanese wine "$installed/uninstall.exe" /S
wineserver -w  # the uninstaller runs a copy of itself from the temporary folder
for _ in $(seq 1 100); do [[ -e "$installed/bin" ]] || break; sleep 0.2; done
[[ ! -e "$installed/bin" ]] || { echo "test-windows-app: the uninstaller left $installed/bin" >&2; exit 1; }
echo "The uninstaller removed the program"
