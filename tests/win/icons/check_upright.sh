#!/bin/sh
# Converts a stored icon bitmap to PNG with ImageMagick and compares the PNG's pixels, top row
# first, with the RGBA bytes that the picture must show.
#   check_upright.sh CONVERT BITMAP EXPECTED_RGBA
set -eu
convert=$1
bitmap=$2
expected=$3
png=${bitmap%.bmp}.png
"$convert" "$bitmap" "$png"
"$convert" "$png" -depth 8 "rgba:${png%.png}.shown.rgba"
if ! cmp "${png%.png}.shown.rgba" "$expected"; then
    echo "the PNG made from $bitmap does not show the expected picture (byte offsets above: 4 per pixel, 128 per row from the top)" >&2
    exit 1
fi
echo "$png shows the expected 32x32 picture, top row first"
