#!/usr/bin/python3
"""Makes data/index.html, the start page, from index.template.html and a small example page.

The example is the table that moza-convert makes, with the shipped character table, of a
48 x 36-pixel crop of a photograph; it replaces {{EXAMPLE}} in the template, as UTF-8.

    tools/pages/make_start_page.py --convert build/dev/bin/moza-convert \
        --picture /work/shared/pictures/seeding_640x480.jpg -o data/index.html

Needs Debian's python3-pil.
"""

import argparse
import os
import subprocess
import tempfile

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))


def example_table(convert, table, picture):
    with tempfile.TemporaryDirectory(prefix="moza-example-") as folder:
        small = os.path.join(folder, "example.bmp")
        source = Image.open(picture).convert("RGB")
        source.crop((0, 20, 320, 260)).resize((48, 36), Image.LANCZOS).save(small)
        page = subprocess.run([convert, "--table", table, "-o", "-", small], check=True,
                              capture_output=True).stdout
    start, end = page.index(b"<table"), page.index(b"</table>") + len(b"</table>")
    return page[start:end].decode("cp932")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--convert", required=True, help="the moza-convert program")
    parser.add_argument("--table", default=os.path.join(HERE, "..", "..", "data", "char.csv"))
    parser.add_argument("--picture", required=True)
    parser.add_argument("-o", "--output", required=True)
    args = parser.parse_args()
    with open(os.path.join(HERE, "index.template.html"), encoding="utf-8") as template:
        text = template.read()
    text = text.replace("{{EXAMPLE}}", example_table(args.convert, args.table, args.picture))
    with open(args.output, "w", encoding="utf-8", newline="\n") as page:
        page.write(text)


if __name__ == "__main__":
    main()
