#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders one picture of a pack: render-one.sh IN.svg WIDTH HEIGHT BACKGROUND MARGIN OUT.bmp
# The SVG is drawn by rsvg-convert as large as fits inside WIDTH x HEIGHT less MARGIN on every
# side, keeping its aspect, then centred on the background colour and written as a 24-bit BMP.
set -euo pipefail
in=$1 w=$2 h=$3 bg=$4 margin=$5 out=$6
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
rsvg-convert -a -w $((w - 2 * margin)) -h $((h - 2 * margin)) "$in" -o "$tmp/fit.png"
convert "$tmp/fit.png" -background "$bg" -gravity center -extent "${w}x${h}" \
    -alpha remove -alpha off -type TrueColor "BMP3:$tmp/out.bmp"
mv "$tmp/out.bmp" "$out"
