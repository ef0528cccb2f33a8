#!/usr/bin/env bash
# Rebuilds the small picture fixtures with ImageMagick (Debian's "imagemagick" package).
# quad: 16x8, top-left red, top-right green, bottom-left blue, bottom-right white.
# mono: 16x8, left half black, right half white, pixel (1,1) white.
set -euo pipefail
cd "$(dirname "$0")"
# Rows 6 and 7 of the bottom-right quadrant hold 16 gray levels so that the palette needs 8 bits.
quad="-size 16x8 xc:white -fill red -draw 'rectangle 0,0 7,3' -fill lime -draw 'rectangle 8,0 15,3' -fill blue -draw 'rectangle 0,4 7,7'"
for k in 0 1 2 3 4 5 6 7; do
  quad="$quad -fill 'gray($((k * 10 + 20)))' -draw 'point $((8 + k)),6' -fill 'gray($((k * 10 + 120)))' -draw 'point $((8 + k)),7'"
done
q() { eval convert $quad "$@"; }
convert -size 16x8 xc:white -fill black -draw 'rectangle 0,0 7,7' -fill white -draw 'point 1,1' -type bilevel BMP3:mono_1bit.bmp
convert -size 16x8 xc:white -fill red -draw 'rectangle 0,0 7,3' -fill lime -draw 'rectangle 8,0 15,3' -fill blue -draw 'rectangle 0,4 7,7' -type palette BMP3:quad_4bit.bmp
q -type palette -compress None BMP3:quad_8bit.bmp
q -type palette -compress RLE BMP3:quad_8bit_rle.bmp
q -alpha off -type truecolor -define bmp:subtype=RGB565 BMP:quad_16bit.bmp
q -type truecolor BMP3:quad_24bit.bmp
# 32-bit with alpha: the bottom-right quadrant half transparent.
q -alpha set -region 8x4+8+4 -channel A -evaluate set 50% +channel +region BMP:quad_32bit_alpha.bmp
q -quality 95 -interlace none quad_baseline.jpg
convert -size 64x48 gradient:red-blue -quality 90 -interlace Plane progressive.jpg
convert -size 64x48 gradient:white-black -colorspace Gray -quality 90 gray.jpg
convert -size 32x16 xc:red -colorspace CMYK -quality 90 cmyk.jpg
q -interlace GIF interlaced.gif
# Three frames on a 20x10 screen: a red field, a blue 4x4 square at (2,3) with a transparent
# hole, removed again (disposal 2), then a green 5x5 square at (10,2).
convert -dispose None -delay 10 -size 20x10 xc:red \
  -dispose Background -delay 25 \( -size 4x4 xc:blue -fill black -draw 'point 1,1' -transparent black -repage 20x10+2+3 \) \
  -dispose None -delay 50 \( -size 5x5 xc:lime -repage 20x10+10+2 \) \
  -loop 0 anim_dispose.gif
q -define icon:auto-resize=16,32,48 icon3.ico
