#!/usr/bin/env bash
# Checks that two moza-convert builds make the same pages, byte for byte: every picture of the
# shared pictures folder (and its odd/ folder), in colour and in monochrome, with the shipped table.
# Usage: bench/same_pages.sh OLD-moza-convert NEW-moza-convert [pictures-folder]
set -euo pipefail
[[ $# -ge 2 ]] || { echo "usage: $0 OLD-moza-convert NEW-moza-convert [pictures-folder]" >&2; exit 2; }
old="$1"; new="$2"
here="$(cd "$(dirname "$0")/.." && pwd)"
pictures="${3:-$(cd "$here/.." && pwd)/shared/pictures}"
[[ -d "$pictures" ]] || pictures=/work/shared/pictures
table="$here/data/char.csv"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT

compared=0; differ=0
for picture in "$pictures"/* "$pictures"/odd/*; do
  [[ -f "$picture" && "$picture" != *.md && "$picture" != *.ppm ]] || continue
  for mode in colour mono; do
    flags=(-q --table "$table" -t page)
    [[ $mode == mono ]] && flags+=(-m)
    rm -f "$out/old.html" "$out/new.html"
    # A picture that fails must fail the same way, with the same message and no page.
    oldStatus=0; newStatus=0
    "$old" "${flags[@]}" -o "$out/old.html" "$picture" 2>"$out/old.err" || oldStatus=$?
    "$new" "${flags[@]}" -o "$out/new.html" "$picture" 2>"$out/new.err" || newStatus=$?
    compared=$((compared + 1))
    if [[ $oldStatus -ne 0 || $newStatus -ne 0 ]]; then
      if [[ $oldStatus -eq $newStatus && ! -e "$out/old.html" && ! -e "$out/new.html" ]] && cmp -s "$out/old.err" "$out/new.err"; then
        echo "same     $mode $(basename "$picture") (both fail: $(head -c 100 "$out/new.err"))"
      else
        echo "DIFFERS  $mode $(basename "$picture") (exit $oldStatus and $newStatus)"; differ=$((differ + 1))
      fi
    elif cmp -s "$out/old.html" "$out/new.html"; then
      echo "same     $mode $(basename "$picture") ($(stat -c %s "$out/new.html") bytes)"
    else
      echo "DIFFERS  $mode $(basename "$picture")"; differ=$((differ + 1))
    fi
  done
done
echo "$compared pages compared, $differ differ"
[[ $differ -eq 0 ]]
