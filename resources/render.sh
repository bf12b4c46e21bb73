#!/bin/sh
# Renders the SVG sources into the PNGs the program compiles in. Run after
# changing a picture (needs rsvg-convert from librsvg2-bin); the PNGs are
# committed so that building needs no drawing tool.
set -e
cd "$(dirname "$0")"
for svg in svg/*.svg; do
    name=$(basename "$svg" .svg)
    rsvg-convert "$svg" -o "img/$name.png"
done
