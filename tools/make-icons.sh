#!/usr/bin/env bash
# Renders the hicolor PNG sizes of the program's icon from its SVG. The PNGs are kept in the
# repository so that building needs no SVG renderer; run this again after changing the SVG.
# Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../resources/icons"
for size in 16 32 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" org.tavro.Tavro.svg \
    --output "org.tavro.Tavro-$size.png"
done
