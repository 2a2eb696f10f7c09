#!/usr/bin/env bash
# Builds the core, moza-convert's option parsing and their tests for 64-bit Windows (MinGW-w64,
# preset "windows") and runs the tests under Wine twice: as a Western Windows (code page 1252)
# and as a Japanese one (code page 932), so that nothing leans on the system's code page.
set -euo pipefail
cd "$(dirname "$0")/.."
MOZA_WITH_WINDOWS=1 bash scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)"

build="$PWD/build/windows"
export WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  echo "Creating the Wine prefix $WINEPREFIX" >&2
  wineboot --init >/dev/null 2>&1 || true
fi
trap 'wineserver -k 2>/dev/null || true' EXIT

# Wine takes the Windows code page from the locale, and needs a UTF-8 one for Japanese file
# names; ja_JP.UTF-8 is built into the build folder rather than installed system-wide.
if [[ ! -d "$build/locale/ja_JP.UTF-8" ]]; then
  mkdir -p "$build/locale"
  localedef -i ja_JP -f UTF-8 "$build/locale/ja_JP.UTF-8"
fi

total=0
for locale in C.UTF-8 ja_JP.UTF-8; do
  log="$build/wine-tests-$locale.log"
  if ! LOCPATH="$build/locale" LC_ALL="$locale" ctest --preset windows -j 2 -V >"$log" 2>&1; then
    cat "$log" >&2
    exit 1
  fi
  tail -n 3 "$log"
  passed=$(grep -a -o -E '\[  PASSED  \] [0-9]+ tests?\.' "$log" | awk '{sum += $4} END {print sum + 0}')
  echo "Under Wine ($locale): $passed tests passed"
  total=$((total + passed))
done
echo "Under Wine: $total tests passed in all"
