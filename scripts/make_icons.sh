#!/usr/bin/env bash
# Draws the program's PNG icons (48, 128 and 256 pixels) from its SVG icon.  Run after the
# SVG changes; needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for size in 48 128 256; do
  rsvg-convert -w "$size" -h "$size" org.kestrane.Zelkon.svg -o "org.kestrane.Zelkon-$size.png"
done
