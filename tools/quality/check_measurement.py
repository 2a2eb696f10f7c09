#!/usr/bin/python3
"""Checks moza-glyphs' measurements against what Chromium draws.

Lays every measured character out in a page of Moza's cell markup (black, 100 to a row), has
headless Chromium show it as score_pages.py does, box-filters the table to 3 x 3 pixels per cell and
compares each cell's ink with the ninths that moza-glyphs measured: the correlation per position and
the mean difference per position.

    build/dev/bin/moza-glyphs -o /tmp/t.csv --measurements /tmp/ink.csv
    tools/quality/check_measurement.py /tmp/ink.csv

Needs Debian's python3-numpy, python3-pil and chromium.
"""

import argparse
import functools
import http.server
import os
import tempfile
import threading

import numpy as np
from PIL import Image

import score_pages

COLUMNS = 100


def read_measurements(path):
    codes, ninths = [], []
    with open(path) as table:
        next(table)
        for line in table:
            values = line.split(",")
            codes.append(int(values[0]))
            ninths.append([float(v) for v in values[1:10]])
    return codes, np.array(ninths)


def page_of(codes):
    def cell(code):
        char = bytes([code]) if code < 256 else bytes([code >> 8, code & 255])
        return b"<td width=9><font style=font-size:8pt;color:#000000>" + char + b"</font></td>"
    rows = [b"<tr height=9>" + b"".join(cell(c) for c in codes[i:i + COLUMNS]) + b"</tr>"
            for i in range(0, len(codes), COLUMNS)]
    return (b'"<html><head><title>check</title></head><body text=#000000>'
            b"<table cellspacing=0 cellpadding=0 width=%d>" % (COLUMNS * 9)
            + b"".join(rows) + b'</table></body></html>"\r\n')


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("measurements", help="the CSV that moza-glyphs --measurements wrote")
    parser.add_argument("--chromium", default="/usr/bin/chromium")
    args = parser.parse_args()

    codes, measured = read_measurements(args.measurements)
    blank = 0x8140  # fills the last row
    rows = (len(codes) + COLUMNS - 1) // COLUMNS
    laid_out = codes + [blank] * (rows * COLUMNS - len(codes))
    with tempfile.TemporaryDirectory(prefix="moza-check-") as folder:
        with open(os.path.join(folder, "page.html"), "wb") as page:
            page.write(page_of(laid_out))
        handler = functools.partial(score_pages.PageHandler, directory=folder)
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        shot = score_pages.screenshot(args.chromium, "http://127.0.0.1:%d/page.html" % server.server_address[1],
                                      COLUMNS * 12 + 64, rows * 12 + 64, folder)
        server.shutdown()
    area = score_pages.table_area(shot)
    print("cells %.2f x %.2f px" % (area.shape[1] / COLUMNS, area.shape[0] / rows))
    small = np.asarray(Image.fromarray(area).resize((COLUMNS * 3, rows * 3), Image.BOX).convert("L"))
    ink = 1.0 - small.astype(np.float64) / 255.0
    shown = np.array([ink[(i // COLUMNS) * 3:(i // COLUMNS) * 3 + 3, (i % COLUMNS) * 3:(i % COLUMNS) * 3 + 3].reshape(9)
                      for i in range(len(codes))])
    correlation = [np.corrcoef(shown[:, p], measured[:, p])[0, 1] for p in range(9)]
    print("correlation by position: " + " ".join("%.3f" % c for c in correlation))
    print("mean correlation: %.4f" % np.mean(correlation))
    print("shown - measured, mean by position: " + " ".join("%+.3f" % d for d in shown.mean(0) - measured.mean(0)))


if __name__ == "__main__":
    main()
