#!/usr/bin/env bash
# Builds Moza for 64-bit Windows and makes its two packages in build/windows-app/packages/:
#   moza-<version>-windows-x86_64.zip        one program folder, moza\, that runs where it is unpacked
#   moza-<version>-windows-x86_64-setup.exe  an installer (NSIS) into Program Files
# Qt for Windows comes from scripts/build-qt-windows.sh (built once, then cached). The DLLs the
# executables and Qt's plugins need are found by following their imports, not listed here.
set -euo pipefail
cd "$(dirname "$0")/.."
MOZA_WITH_WINDOWS=1 bash scripts/install-deps.sh
MOZA_QT_WINDOWS=$(bash scripts/build-qt-windows.sh | tail -n 1)
export MOZA_QT_WINDOWS
cmake --preset windows-app >/dev/null
cmake --build --preset windows-app -j "$(nproc)"

build="$PWD/build/windows-app"
version=$(sed -n 's/^project(Moza VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name="moza-$version-windows-x86_64"
out="$build/packages"
stage="$out/stage/moza"
rm -rf "$out"
mkdir -p "$stage/temp" "$stage/translations"

cp "$build/bin/moza.exe" "$build/bin/moza-convert.exe" "$stage/"
cp -r "$build/bin/data" "$stage/"
# Plugins: the windows platform (and the offscreen one, for --help and --version without a
# window), the native style, every picture format Qt for Windows reads.
for plugin in platforms/qwindows.dll platforms/qoffscreen.dll styles/qwindowsvistastyle.dll imageformats/*.dll; do
  for file in "$MOZA_QT_WINDOWS"/plugins/$plugin; do
    [[ "$file" == *d.dll && -f "${file%d.dll}.dll" ]] && continue  # a debug twin
    mkdir -p "$stage/$(dirname "$plugin")"
    cp "$file" "$stage/$(dirname "$plugin")/"
  done
done
# Qt's own Japanese (the standard dialogs), and where Qt finds its parts: beside the program.
cp /usr/share/qt6/translations/qtbase_ja.qm "$stage/translations/"
printf '[Paths]\nPrefix = .\nPlugins = .\nTranslations = translations\n' >"$stage/qt.conf"

# The DLLs named in the imports of every executable and plugin, found in Qt's bin folder or the
# MinGW runtime, and then theirs. A DLL found in neither is the system's (KERNEL32, USER32, ...).
search=("$MOZA_QT_WINDOWS/bin" "$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")"
        /usr/x86_64-w64-mingw32/lib)
imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'; }
mapfile -t pending < <(find "$stage" -name '*.exe' -o -name '*.dll')
while [[ ${#pending[@]} -gt 0 ]]; do
  file=${pending[0]}
  pending=("${pending[@]:1}")
  while read -r dll; do
    [[ -e "$stage/$dll" ]] && continue
    for folder in "${search[@]}"; do
      if [[ -f "$folder/$dll" ]]; then
        cp "$folder/$dll" "$stage/"
        pending+=("$stage/$dll")
        break
      fi
    done
  done < <(imports "$file")
done

(cd "$out/stage" && rm -f "../$name.zip" && zip -qr -9 "../$name.zip" moza)
makensis -V2 -DVERSION="$version" -DSOURCE="$stage" -DOUTFILE="$out/$name-setup.exe" -DICON="$build/generated/moza.ico" \
  dist/windows/moza.nsi
ls -l "$out/$name.zip" "$out/$name-setup.exe"
