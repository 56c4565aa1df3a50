#!/usr/bin/env bash
# Renders the sailing-yacht drawing at the two sizes the main window shows it
# on ordinary and double-density screens (331 x 302 and 662 x 604 pixels,
# stretched, aspect ratio not kept), so that the first frame needs no SVG
# parsing. Other device pixel ratios render the SVG itself.
#   tools/drawing/prerender.sh        (needs Debian's librsvg2-bin)
# The program shows raw copies of these PNGs; make them again afterwards:
#   cmake --build build/default --target regenerate_raw_pictures
set -euo pipefail
cd "$(dirname "$0")/../../assets/drawing"
for size in 331x302 662x604; do
    rsvg-convert --width "${size%x*}" --height "${size#*x}" --format png \
        --output "yacht-$size.png" yacht.svg
done
