#!/usr/bin/env bash
# Whole-command figures for moza-convert on the 4000 x 3000 photos, side by side in one run:
#   - time, colour and monochrome, against `djpeg -bmp -outfile` writing its bitmap into the same
#     folder (the reference decode) and jp2a's HTML output for the same grid,
#   - peak memory against the decoded picture plus the page bytes,
#   - the core alone (moza_core_bench: blocks per second, FindGlyph against table size).
# Usage: bench/end_to_end.sh [build-dir]   (default build/release; built if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/release}"
MOZA_WITH_BENCH_TOOLS=1 bash scripts/install-deps.sh
if [[ ! -x "$build/bin/moza-convert" || ! -x "$build/bin/moza_core_bench" ]]; then
  cmake --preset release >/dev/null && cmake --build --preset release --target moza-convert moza_core_bench
fi
pictures="${MOZA_PICTURES:-$(cd .. && pwd)/shared/pictures}"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT

for name in seeding life; do
  picture="$pictures/${name}_4000x3000.jpg"
  [[ -f "$picture" ]] || { echo "bench/end_to_end.sh: the photo $picture is missing: put the 4000 x 3000 photos there or name their folder with MOZA_PICTURES=DIR" >&2; exit 1; }
  echo "== $name 4000 x 3000 =="
  hyperfine --warmup 2 --runs 15 -N --export-json "$out/$name.json" \
    -n djpeg "djpeg -bmp -outfile $out/picture.bmp $picture" \
    -n moza-convert "$build/bin/moza-convert -q -o $out/page.html $picture" \
    -n moza-convert-mono "$build/bin/moza-convert -q -m -o $out/page-mono.html $picture" \
    -n jp2a "jp2a --colors --html --size=1334x1000 --output=$out/jp2a.html $picture" >/dev/null
  python3 - "$out/$name.json" <<'PY'
import json, sys
runs = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
base = runs["djpeg"]["median"]
for name in ("djpeg", "moza-convert", "moza-convert-mono", "jp2a"):
    r = runs[name]
    print(f"  {name:13s} median {r['median']*1000:7.1f} ms  (mean {r['mean']*1000:7.1f} ± {r['stddev']*1000:5.1f})"
          f"  {r['median']/base:4.2f} x djpeg")
PY
  rss_kb=$( { /usr/bin/time -f %M "$build/bin/moza-convert" -q -o "$out/page.html" "$picture"; } 2>&1 | tail -n 1)
  page_bytes=$(stat -c %s "$out/page.html")
  jp2a_bytes=$(stat -c %s "$out/jp2a.html")
  python3 -c "
rss=$rss_kb*1024; page=$page_bytes; pic=4002*3000*4
print(f'  peak memory {rss/1e6:.1f} MB; decoded picture {pic/1e6:.1f} MB + page {page/1e6:.1f} MB = {(pic+page)/1e6:.1f} MB; ratio {rss/(pic+page):.2f}')
print(f'  page {page/1e6:.1f} MB; jp2a page {$jp2a_bytes/1e6:.1f} MB')"
done

echo "== core alone (one thread unless the label says otherwise) =="
"$build/bin/moza_core_bench" --benchmark_filter='Compose|FindGlyph|Load|Decode' 2>/dev/null | sed -n '/^BM_/p'
