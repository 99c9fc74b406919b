#!/usr/bin/env bash
# Draws the PNG sizes of the program's icon from its SVG. The PNGs are kept
# in the repository, so that neither the build nor the package needs
# rsvg-convert; run this again after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "hicolor/${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" org.example.Pirukko.svg \
    -o "hicolor/${size}x${size}/apps/org.example.Pirukko.png"
done
