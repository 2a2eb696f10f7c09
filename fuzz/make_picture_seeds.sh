#!/usr/bin/env bash
# Makes the picture fuzzer's seed corpus in FOLDER: one small picture in each format Moza opens,
# drawn here with ImageMagick (and a TGA of the version Qt reads, put together by hand).
# Usage: fuzz/make_picture_seeds.sh FOLDER
set -euo pipefail
folder="$1"
mkdir -p "$folder"
cd "$folder"
convert -size 7x5 gradient:red-blue -swirl 60 base.png
convert base.png -type palette BMP3:seed8.bmp
convert base.png -type truecolor BMP3:seed24.bmp
convert base.png -type truecoloralpha -define bmp:format=bmp4 seed32.bmp
convert base.png seed.gif
convert base.png -interlace JPEG seed.jpg
convert base.png -interlace PNG seed.png
convert base.png seed.tif
convert base.png seed.ppm
convert base.png -monochrome seed.pbm
convert base.png seed.xpm
convert base.png -monochrome seed.xbm
convert base.png seed.ico
convert base.png -define webp:lossless=true seed.webp 2>/dev/null || true
convert base.png tga:seed.tga
printf '\0\0\0\0\0\0\0\0TRUEVISION-XFILE.\0' >> seed.tga
rm base.png
