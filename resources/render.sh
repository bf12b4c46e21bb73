#!/bin/sh
# Renders the SVG sources into the PNGs the program compiles in, and the
# program's icon into the sizes the desktop's icon theme takes. Run after
# changing a picture (needs rsvg-convert from librsvg2-bin); the PNGs are
# committed so that building needs no drawing tool.
set -e
cd "$(dirname "$0")"
for svg in svg/*.svg; do
    name=$(basename "$svg" .svg)
    rsvg-convert "$svg" -o "img/$name.png"
done
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" svg/icon_download.svg -o "icons/tavir340-$size.png"
done
