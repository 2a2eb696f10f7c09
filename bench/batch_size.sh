#!/usr/bin/env bash
# Time per picture of moza-convert batches of tiny pictures: a run of 10,000 should cost each
# picture about what a run of 100 does (within 1.5 times), so a large folder is not slower per picture.
# The pictures are hard links to one 3 x 3 PNG, so the figures are the run's own work per picture.
# Usage: bench/batch_size.sh [build-dir] [sizes...]   (default build/release and 100 10000; built if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/release}"
shift || true
sizes=("$@")
[[ ${#sizes[@]} -gt 0 ]] || sizes=(100 10000)
if [[ ! -x "$build/bin/moza-convert" ]]; then
  cmake --preset release >/dev/null && cmake --build --preset release --target moza-convert
fi
program="$(cd "$build/bin" && pwd)/moza-convert"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

python3 - "$work/one.png" <<'PY'
import struct, sys, zlib
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
rows = b"".join(b"\0" + bytes([40, 120, 200]) * 3 for _ in range(3))
png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 3, 3, 8, 2, 0, 0, 0)) +
       chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))
open(sys.argv[1], "wb").write(png)
PY

declare -A perPicture
for size in "${sizes[@]}"; do
  rm -rf "$work/in" "$work/out"
  mkdir -p "$work/in"
  (cd "$work/in" && for ((i = 0; i < size; ++i)); do ln ../one.png "p$i.png"; done)
  start=$(date +%s.%N)
  (cd "$work/in" && "$program" -q -o ../out/ ./*.png)
  end=$(date +%s.%N)
  made=$(find "$work/out" -name '*.html' | wc -l)
  [[ "$made" == "$size" ]] || { echo "only $made of $size pages were made" >&2; exit 1; }
  perPicture[$size]=$(python3 -c "print(($end - $start) / $size * 1000)")
  printf '%6d pictures: %7.2f s in all, %.3f ms per picture\n' "$size" "$(python3 -c "print($end - $start)")" \
    "${perPicture[$size]}"
done
if [[ ${#sizes[@]} -ge 2 ]]; then
  first=${sizes[0]}
  last=${sizes[${#sizes[@]} - 1]}
  python3 -c "
ratio = ${perPicture[$last]} / ${perPicture[$first]}
print(f'per picture, {$last} against {$first}: {ratio:.2f} x (at most 1.5 x wanted)')"
fi
