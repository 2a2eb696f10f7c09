#!/usr/bin/python3
"""Makes the training and held-out pictures for moza-glyphs from Debian's free wallpapers.

Extracts the photos of lomiri-wallpapers-16.04 and lomiri-wallpapers-20.04 (apt-get download,
dpkg -x; no installation) and writes each chosen one at 640 x 480 and 1920 x 1080 as PNG, made as
the pictures of /work/shared/pictures were made: scaled with a Lanczos filter to cover the size,
then centre-cropped.

    tools/quality/make_training_pictures.py -o /tmp/moza-training

Needs Debian's python3-pil. Licences: data/README.md.
"""

import argparse
import glob
import os
import subprocess
import tempfile

from PIL import Image

PACKAGES = ["lomiri-wallpapers-16.04", "lomiri-wallpapers-20.04"]
# Photographs only (the drawn and generated wallpapers are left out); seeding and life come from
# /work/shared/pictures instead, at the same sizes.
TRAINING = ["Bridge_by_Sander_Klootwijk", "Dragonfly_by_Bolly", "Picture_0B_by_freespace",
            "Picture_1A_by_freespace", "Wine_by_Jakkub_Mede", "aitzgorri_by_Aitzol_Berasategi",
            "free_by_Peter_Nerlich", "friends_by_Aitzol_Berasategi", "sunset_by_Aitzol_Berasategi"]
HELD_OUT = ["Kleiber_by_Lukas_Baubkus", "picosdeeuropa_by_Aitzol_Berasategi"]
SIZES = [(640, 480), (1920, 1080)]


def cover_crop(image, width, height):
    scale = max(width / image.width, height / image.height)
    scaled = image.resize((round(image.width * scale), round(image.height * scale)), Image.LANCZOS)
    left, top = (scaled.width - width) // 2, (scaled.height - height) // 2
    return scaled.crop((left, top, left + width, top + height))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("-o", "--output", required=True, help="folder for train/ and held-out/")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="moza-wallpapers-") as folder:
        subprocess.run(["apt-get", "download"] + PACKAGES, cwd=folder, check=True, stdout=subprocess.DEVNULL)
        for deb in glob.glob(os.path.join(folder, "*.deb")):
            subprocess.run(["dpkg", "-x", deb, os.path.join(folder, "x")], check=True)
        for group, names in (("train", TRAINING), ("held-out", HELD_OUT)):
            os.makedirs(os.path.join(args.output, group), exist_ok=True)
            for name in names:
                image = Image.open(os.path.join(folder, "x/usr/share/backgrounds", name + ".jpg")).convert("RGB")
                for width, height in SIZES:
                    out = os.path.join(args.output, group, "%s_%dx%d.png" % (name, width, height))
                    cover_crop(image, width, height).save(out)
                    print(out)


if __name__ == "__main__":
    main()
