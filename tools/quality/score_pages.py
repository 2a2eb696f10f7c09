#!/usr/bin/python3
"""Scores character tables by how well their pages draw pictures.

For every table, picture and colour mode: moza-convert makes the page, headless Chromium shows it
(served from 127.0.0.1 as Shift_JIS, IPAGothic as the page font) and takes a screenshot, and the
table area of the screenshot is compared with the picture by the SSIM of their luminance, both at
the picture's size (the screenshot is box-filtered down to it).

    tools/quality/score_pages.py --convert build/dev/bin/moza-convert \
        --table shipped=data/char.csv --table ramp=tools/quality/ramp.csv \
        /work/shared/pictures/*_640x480.jpg

Needs Debian's python3-numpy, python3-pil and chromium.
"""

import argparse
import functools
import http.server
import os
import subprocess
import sys
import tempfile
import threading

import numpy as np
from PIL import Image

# Scoring only: the page font, no page margin, and the table pinned to the top-left corner
# over a magenta page so that its extent can be found in the screenshot.
MARKER = np.array([255, 0, 255])
INJECTED_STYLE = (b"<style>html,body{margin:0;padding:0;background:#ff00ff}"
                  b"*{font-family:IPAGothic}"
                  b"table{position:absolute;left:0;top:0;background:#ffffff}</style>")


class PageHandler(http.server.SimpleHTTPRequestHandler):
    """Serves the page files of one folder as Shift_JIS HTML with the scoring style in front."""

    def do_GET(self):  # noqa: N802 (the standard library's name)
        path = os.path.join(self.directory, os.path.basename(self.path))
        try:
            with open(path, "rb") as page:
                body = INJECTED_STYLE + page.read()
        except OSError:
            self.send_error(404)
            return
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=Shift_JIS")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def gaussian_kernel(size=11, sigma=1.5):
    x = np.arange(size) - size // 2
    k = np.exp(-(x * x) / (2 * sigma * sigma))
    return k / k.sum()


def filter2(image, kernel):
    """Separable filter, 'valid' region only."""
    rows = np.apply_along_axis(lambda r: np.convolve(r, kernel, mode="valid"), 1, image)
    return np.apply_along_axis(lambda c: np.convolve(c, kernel, mode="valid"), 0, rows)


def ssim(a, b):
    """Mean SSIM of two luminance images (0 to 255), Gaussian window 11 px, sigma 1.5."""
    k = gaussian_kernel()
    c1, c2 = (0.01 * 255) ** 2, (0.03 * 255) ** 2
    a, b = a.astype(np.float64), b.astype(np.float64)
    mu_a, mu_b = filter2(a, k), filter2(b, k)
    saa = filter2(a * a, k) - mu_a * mu_a
    sbb = filter2(b * b, k) - mu_b * mu_b
    sab = filter2(a * b, k) - mu_a * mu_b
    index = ((2 * mu_a * mu_b + c1) * (2 * sab + c2)) / ((mu_a ** 2 + mu_b ** 2 + c1) * (saa + sbb + c2))
    return float(index.mean())


def luminance(rgb):
    rgb = rgb.astype(np.float64)
    return 0.299 * rgb[..., 0] + 0.587 * rgb[..., 1] + 0.114 * rgb[..., 2]


def working_image(picture_path):
    """The picture enlarged to whole 3 x 3 blocks by repeating its last columns and rows."""
    rgb = np.asarray(Image.open(picture_path).convert("RGB"))
    h, w = rgb.shape[:2]
    dw, dh = (-w) % 3, (-h) % 3
    if dw:
        rgb = np.concatenate([rgb, rgb[:, w - dw:w]], axis=1)
    if dh:
        rgb = np.concatenate([rgb, rgb[h - dh:h, :]], axis=0)
    return rgb


def table_area(screenshot):
    """The screenshot's table: the rectangle at the top-left that is not page background.

    The table's right and bottom edges fall between pixels, so its last pixel column and row
    may be part page: they are dropped when most of their pixels are tinted magenta."""
    rgb = screenshot[..., :3].astype(np.int32)
    page = np.all(rgb == MARKER, axis=2)
    cols = np.where(~page.all(axis=0))[0]
    rows = np.where(~page.all(axis=1))[0]
    if len(cols) == 0 or len(rows) == 0:
        raise RuntimeError("the screenshot shows no table")
    right, bottom = cols[-1] + 1, rows[-1] + 1
    tinted = (rgb[..., 0] - rgb[..., 1] > 48) & (rgb[..., 2] - rgb[..., 1] > 48)
    if tinted[:bottom, right - 1].mean() > 0.5:
        right -= 1
    if tinted[bottom - 1, :right].mean() > 0.5:
        bottom -= 1
    return screenshot[:bottom, :right, :3]


def screenshot(chromium, url, width, height, folder, timeout):
    profile = tempfile.mkdtemp(prefix="profile-", dir=folder)
    shot = os.path.join(folder, "shot.png")
    if os.path.exists(shot):
        os.remove(shot)
    subprocess.run([chromium, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                    "--disable-background-networking", "--disable-component-update", "--disable-sync",
                    "--hide-scrollbars", "--user-data-dir=" + profile,
                    "--window-size=%d,%d" % (width, height), "--screenshot=" + shot, url],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=timeout)
    return np.asarray(Image.open(shot).convert("RGB"))


def score(args, table, picture, mono, server_port, folder, keep):
    page = os.path.join(folder, "page.html")
    command = [args.convert, "--table", table, "-o", page, picture]
    if mono:
        command.insert(1, "-m")
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    rgb = working_image(picture)
    h, w = rgb.shape[:2]
    # Cells grow to fit their glyphs, so the page is larger than the picture.
    shot = screenshot(args.chromium, "http://127.0.0.1:%d/page.html" % server_port,
                      w // 3 * 16 + 64, h // 3 * 20 + 64, folder, args.timeout)
    area = table_area(shot)
    drawn = Image.fromarray(area).resize((w, h), Image.BOX)
    if keep:
        Image.fromarray(area).save(keep + "-page.png")
        drawn.save(keep + "-small.png")
    return ssim(luminance(np.asarray(drawn)), luminance(rgb)), area.shape[1] / (w // 3), area.shape[0] / (h // 3)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--convert", required=True, help="the moza-convert program")
    parser.add_argument("--chromium", default="/usr/bin/chromium")
    parser.add_argument("--table", action="append", required=True, metavar="NAME=FILE")
    parser.add_argument("--modes", default="mono,web", help="mono, web or both (default)")
    parser.add_argument("--keep", metavar="FOLDER", help="save the screenshots here")
    parser.add_argument("--timeout", type=float, default=120,
                        help="seconds a screenshot may take (default 120; a 1920 x 1080 page on a busy machine needs more)")
    parser.add_argument("pictures", nargs="+")
    args = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix="moza-score-") as folder:
        handler = functools.partial(PageHandler, directory=folder)
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        port = server.server_address[1]
        print("| table | mode | " + " | ".join(os.path.basename(p) for p in args.pictures) + " | mean |")
        print("|---|---|" + "---|" * (len(args.pictures) + 1))
        for spec in args.table:
            name, table = spec.split("=", 1)
            for mode in args.modes.split(","):
                scores = []
                for picture in args.pictures:
                    keep = None
                    if args.keep:
                        os.makedirs(args.keep, exist_ok=True)
                        keep = os.path.join(args.keep, "%s-%s-%s" % (
                            name, mode, os.path.splitext(os.path.basename(picture))[0]))
                    value, cell_w, cell_h = score(args, table, picture, mode == "mono", port, folder, keep)
                    scores.append(value)
                    print("  %s %s %s: SSIM %.4f, cells %.2f x %.2f px" % (
                        name, mode, os.path.basename(picture), value, cell_w, cell_h), file=sys.stderr)
                print("| %s | %s | %s | %.4f |" % (name, mode, " | ".join("%.4f" % s for s in scores),
                                                  sum(scores) / len(scores)), flush=True)
        server.shutdown()


if __name__ == "__main__":
    main()
