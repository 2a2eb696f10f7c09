#!/usr/bin/python3
"""Checks the art view against Chromium on pages the art view benchmark made.

For every page in FOLDER (moza_art_view_bench --out FOLDER PICTURE...): headless Chromium shows
the page served as Shift_JIS with IPAGothic (as score_pages.py does) and reports where every
column and row of the table starts; these are compared with the art view's layout
(<page>-layout.txt), and Chromium's screenshot of the table with the art view's drawing of it at
1:1 (<page>-table-1to1.png) by the SSIM of their luminance. The fitted view's table
(<page>-fit-table.png) is compared with the picture scaled to the same size.

    build/ci/bin/moza_art_view_bench --out /tmp/art /work/shared/pictures/*_640x480.jpg
    tools/quality/art_view_check.py /tmp/art /work/shared/pictures/*_640x480.jpg

Needs Debian's python3-numpy, python3-pil and chromium.
"""

import argparse
import functools
import http.server
import os
import re
import subprocess
import sys
import tempfile
import threading

import numpy as np
from PIL import Image

import score_pages

# Writes the table's column and row edges into the document, for --dump-dom to print.
PROBE = (b"<script>window.onload=function(){var t=document.querySelector('table'),b=t.getBoundingClientRect(),"
         b"o=[],c=t.rows[0].cells;for(var i=0;i<c.length;i++)o.push('column '+(c[i].getBoundingClientRect().left-b.left));"
         b"o.push('column '+b.width);for(var j=0;j<t.rows.length;j++)o.push('row '+(t.rows[j].getBoundingClientRect().top-b.top));"
         b"o.push('row '+b.height);var p=document.createElement('pre');p.id='probe';p.textContent=o.join('\\n');"
         b"document.body.appendChild(p);}</script>")


class ProbeHandler(score_pages.PageHandler):
    """Serves pages as score_pages does; with ?probe the edge-reporting script follows the page."""

    def do_GET(self):  # noqa: N802 (the standard library's name)
        if not self.path.endswith("?probe"):
            super().do_GET()
            return
        path = os.path.join(self.directory, os.path.basename(self.path[:-len("?probe")]))
        with open(path, "rb") as page:
            body = score_pages.INJECTED_STYLE + page.read() + PROBE
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=Shift_JIS")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


def chromium_edges(chromium, url, folder):
    profile = tempfile.mkdtemp(prefix="profile-", dir=folder)
    dom = subprocess.run([chromium, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                          "--user-data-dir=" + profile, "--virtual-time-budget=60000", "--dump-dom", url],
                         check=True, capture_output=True, timeout=300).stdout.decode("utf-8", "replace")
    probe = re.search(r'<pre id="probe">(.*?)</pre>', dom, re.S)
    if not probe:
        raise RuntimeError("Chromium reported no table edges")
    columns = [float(v) for v in re.findall(r"column ([-0-9.e]+)", probe.group(1))]
    rows = [float(v) for v in re.findall(r"row ([-0-9.e]+)", probe.group(1))]
    return np.array(columns), np.array(rows)


def art_edges(layout_file, rows):
    columns = []
    with open(layout_file) as layout:
        for line in layout:
            if line.startswith("column "):
                columns.append(float(line.split()[1]))
    return np.array(columns), np.arange(rows + 1) * 10.0


def check(args, stem, picture, port, folder):
    page = os.path.join(args.folder, stem + ".html")
    url = "http://127.0.0.1:%d/%s" % (port, os.path.basename(page))
    chrome_columns, chrome_rows = chromium_edges(args.chromium, url + "?probe", folder)
    art_columns, art_rows = art_edges(os.path.join(args.folder, stem + "-layout.txt"), len(chrome_rows) - 1)
    if len(chrome_columns) != len(art_columns):
        raise RuntimeError("%s: Chromium has %d column edges, the art view %d" % (stem, len(chrome_columns), len(art_columns)))
    column_error = np.abs(chrome_columns - art_columns).max()
    row_error = np.abs(chrome_rows - art_rows).max()

    art = np.asarray(Image.open(os.path.join(args.folder, stem + "-table-1to1.png")).convert("RGB"))
    shot = score_pages.table_area(score_pages.screenshot(args.chromium, url, art.shape[1] + 64, art.shape[0] + 64, folder,
                                                          args.timeout))
    if args.keep:
        Image.fromarray(shot).save(os.path.join(args.keep, stem + "-chromium-1to1.png"))
    h, w = min(shot.shape[0], art.shape[0]), min(shot.shape[1], art.shape[1])
    one_to_one = score_pages.ssim(score_pages.luminance(shot[:h, :w]), score_pages.luminance(art[:h, :w]))

    fitted = Image.open(os.path.join(args.folder, stem + "-fit-table.png")).convert("RGB")
    scaled = Image.fromarray(score_pages.working_image(picture)).resize(fitted.size, Image.BOX)
    fit = score_pages.ssim(score_pages.luminance(np.asarray(fitted)), score_pages.luminance(np.asarray(scaled)))
    shot_small = Image.fromarray(shot).resize(fitted.size, Image.BOX)
    chrome_fit = score_pages.ssim(score_pages.luminance(np.asarray(shot_small)), score_pages.luminance(np.asarray(scaled)))
    print("%-20s grid: columns within %.3f px, rows within %.3f px (%dx%d) | SSIM at 1:1 vs Chromium %.4f "
          "(%dx%d vs %dx%d) | fitted %dx%d vs picture %.4f (Chromium's page scaled alike %.4f)"
          % (stem, column_error, row_error, len(art_columns) - 1, len(art_rows) - 1, one_to_one, art.shape[1],
             art.shape[0], shot.shape[1], shot.shape[0], fitted.size[0], fitted.size[1], fit, chrome_fit))
    return column_error <= 1 and row_error <= 1


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--chromium", default="chromium")
    parser.add_argument("--timeout", type=float, default=120, help="seconds a screenshot may take (default 120)")
    parser.add_argument("--keep", metavar="FOLDER", help="save Chromium's screenshot of each table here")
    parser.add_argument("folder", help="the benchmark's --out folder")
    parser.add_argument("pictures", nargs="+", help="the pictures the benchmark made its pages from")
    args = parser.parse_args()
    handler = functools.partial(ProbeHandler, directory=args.folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    aligned = True
    with tempfile.TemporaryDirectory() as folder:
        for picture in args.pictures:
            stem = os.path.splitext(os.path.basename(picture))[0]
            aligned = check(args, stem, picture, server.server_port, folder) and aligned
    server.shutdown()
    return 0 if aligned else 1


if __name__ == "__main__":
    sys.exit(main())
