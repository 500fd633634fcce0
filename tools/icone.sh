#!/usr/bin/env bash
# Renders the program icon assets/arvo.svg into the PNG sizes of the hicolor
# theme (assets/hicolor/NxN/apps/arvo.png) that the .deb installs. Run it
# after changing the SVG and commit the PNGs; it needs rsvg-convert
# (apt install librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/.."
for n in 16 32 48 64 128 256; do
  mkdir -p "assets/hicolor/${n}x${n}/apps"
  rsvg-convert -w "$n" -h "$n" assets/arvo.svg -o "assets/hicolor/${n}x${n}/apps/arvo.png"
done
