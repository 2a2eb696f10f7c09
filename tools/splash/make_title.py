#!/usr/bin/python3
"""Makes data/title.bmp, the 312 x 206 splash picture.

The top of the picture is a Moza page of a photograph, drawn with the characters and colours
that moza-convert picks from the shipped table; the program's name and version sit beside it, and
the band where the start-up status line is drawn (from about (41, 144), one line of text) is left
plain.

    tools/splash/make_title.py --convert build/dev/bin/moza-convert \
        --picture /work/shared/pictures/seeding_640x480.jpg -o data/title.bmp

Needs Debian's python3-pil, fonts-ipafont-gothic and fonts-dejavu-core.
"""

import argparse
import os
import re
import subprocess
import tempfile

from PIL import Image, ImageDraw, ImageFilter, ImageFont

WIDTH, HEIGHT = 312, 206
ART_HEIGHT = 120          # the character art fills the picture down to here
CELL = 8                  # pixels per character of the motif
IPA_GOTHIC = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"
DEJAVU_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
DEJAVU = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"


def project_version_text():
    """The version as the program shows it ("1.00.0003"), from project(VERSION) in CMakeLists.txt."""
    source = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "CMakeLists.txt")
    with open(source, encoding="utf-8") as cmake:
        major, minor, patch = re.search(r"project\(Moza VERSION (\d+)\.(\d+)\.(\d+)", cmake.read()).groups()
    return f"{int(major)}.{int(minor):02d}.{int(patch):04d}"


VERSION = project_version_text()

CELL_PATTERN = re.compile(rb"<td width=9><font style=font-size:8pt;color:#([0-9A-F]{6})>(.*?)</font></td>")


def page_cells(convert, table, picture, columns, rows):
    """The (colour, character) cells of the Moza page of `picture` shrunk to columns x rows blocks."""
    with tempfile.TemporaryDirectory(prefix="moza-title-") as folder:
        small = os.path.join(folder, "motif.bmp")
        source = Image.open(picture).convert("RGB")
        # Crop to the art's shape, then shrink so that every block of 3 x 3 pixels is one cell.
        aspect = columns / rows
        w, h = source.size
        crop_h = min(h, int(w / aspect))
        top = (h - crop_h) // 3
        source.crop((0, top, w, top + crop_h)).resize((columns * 3, rows * 3), Image.LANCZOS).save(small)
        page = subprocess.run([convert, "--table", table, "-o", "-", small],
                              check=True, capture_output=True).stdout
    cells = [(tuple(int(m.group(1)[i:i + 2], 16) for i in (0, 2, 4)), m.group(2).decode("cp932"))
             for m in CELL_PATTERN.finditer(page)]
    if len(cells) != columns * rows:
        raise RuntimeError("expected %d cells, found %d" % (columns * rows, len(cells)))
    return [cells[r * columns:(r + 1) * columns] for r in range(rows)]


def draw_art(image, cells):
    font = ImageFont.truetype(IPA_GOTHIC, CELL)
    draw = ImageDraw.Draw(image)
    for r, row in enumerate(cells):
        for c, (colour, char) in enumerate(row):
            draw.text((c * CELL, r * CELL), char, font=font, fill=colour)


def fade_art(image):
    """Lightens the art toward its lower edge so that it ends softly above the text."""
    pixels = image.load()
    for y in range(ART_HEIGHT - 30, ART_HEIGHT):
        share = (y - (ART_HEIGHT - 30)) / 30.0
        for x in range(WIDTH):
            r, g, b = pixels[x, y]
            pixels[x, y] = tuple(int(v + (255 - v) * share) for v in (r, g, b))


def draw_texts(image):
    draw = ImageDraw.Draw(image)
    title_font = ImageFont.truetype(DEJAVU_BOLD, 44)
    # The name over the art, with a soft dark halo so that it reads on any colour.
    halo = Image.new("L", image.size, 0)
    ImageDraw.Draw(halo).text((18, 46), "Moza", font=title_font, fill=255)
    halo = halo.filter(ImageFilter.GaussianBlur(4))
    image.paste(Image.new("RGB", image.size, (40, 32, 16)), (0, 0), halo.point(lambda v: min(255, v * 2)))
    draw.text((18, 46), "Moza", font=title_font, fill=(255, 255, 255))
    # A thin rule under the art, the version at the bottom right.
    draw.line((0, ART_HEIGHT + 2, WIDTH, ART_HEIGHT + 2), fill=(196, 150, 60), width=2)
    small = ImageFont.truetype(DEJAVU, 11)
    text = "Version " + VERSION
    width = draw.textlength(text, font=small)
    draw.text((WIDTH - 12 - width, HEIGHT - 24), text, font=small, fill=(90, 90, 90))
    tagline = ImageFont.truetype(IPA_GOTHIC, 12)
    draw.text((12, HEIGHT - 25), "写真を文字の絵に", font=tagline, fill=(90, 90, 90))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--convert", required=True, help="the moza-convert program")
    parser.add_argument("--table", default=os.path.join(os.path.dirname(__file__), "..", "..", "data", "char.csv"))
    parser.add_argument("--picture", required=True)
    parser.add_argument("-o", "--output", required=True)
    parser.add_argument("--png", help="also save a PNG copy here, for viewing")
    args = parser.parse_args()

    image = Image.new("RGB", (WIDTH, HEIGHT), (255, 255, 255))
    columns, rows = WIDTH // CELL, (ART_HEIGHT + CELL - 1) // CELL
    art = Image.new("RGB", (columns * CELL, rows * CELL), (255, 255, 255))
    draw_art(art, page_cells(args.convert, args.table, args.picture, columns, rows))
    image.paste(art.crop((0, 0, WIDTH, ART_HEIGHT)), (0, 0))
    fade_art(image)
    draw_texts(image)
    image.save(args.output, format="BMP")
    if args.png:
        image.save(args.png)


if __name__ == "__main__":
    main()
