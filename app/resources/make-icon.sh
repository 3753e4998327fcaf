#!/usr/bin/env bash
# Draws the program icon: a page with a folded corner, digest lines and a green check mark,
# rendered large and scaled down to the four sizes the icon group carries (32-bit, with alpha).
# Usage: make-icon.sh OUTPUT.ico   (needs ImageMagick's `convert`)
set -euo pipefail
out=${1:?output .ico}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert -size 256x256 xc:none \
  -fill '#fdfdfd' -stroke '#3c4a5c' -strokewidth 12 \
  -draw 'path "M 44,14 L 164,14 L 220,70 L 220,242 L 44,242 Z"' \
  -fill '#c9d3df' -draw 'path "M 164,14 L 164,70 L 220,70 Z"' \
  -stroke '#7d8da1' -strokewidth 14 \
  -draw 'line 76,92 140,92' -draw 'line 76,126 188,126' -draw 'line 76,160 120,160' \
  -stroke '#ffffff' -strokewidth 52 -fill none -draw 'polyline 104,186 144,224 232,124' \
  -stroke '#1e9e4a' -strokewidth 30 -draw 'polyline 104,186 144,224 232,124' \
  "$work/master.png"

for size in 64 48 32 16; do
  convert "$work/master.png" -filter Lanczos -resize ${size}x${size} -depth 8 \
    -define png:color-type=6 "$work/icon-$size.png"
done
# BMP-style entries (not PNG) so that every Windows version reads all four sizes.
convert "$work/icon-64.png" "$work/icon-48.png" "$work/icon-32.png" "$work/icon-16.png" \
  -compress None "$out"
