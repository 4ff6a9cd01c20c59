#!/usr/bin/env bash
# Draws the skin pictures and the application icon with ImageMagick. Shapes
# are drawn at four times their size and scaled down, which anti-aliases the
# edges. Each picture also comes at twice its size as name@2x.png, which the
# program shows above 96 DPI. Run it after changing a shape; the PNGs are
# committed.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cd "$here"

# A filled circle with a white mark, 64x64 and 128x128 (painted smaller
# where needed).
badge() { # name colour draw-commands
    convert -size 256x256 xc:none -fill "$2" -draw "circle 128,128 128,8" \
        -stroke white -strokewidth 26 -fill none -draw "$3" \
        -write mpr:badge +delete \
        \( mpr:badge -resize 64x64 -strip -write "PNG32:$1.png" +delete \) \
        mpr:badge -resize 128x128 -strip "PNG32:$1@2x.png"
}
badge ok '#22A45D' "stroke-linecap round stroke-linejoin round polyline 72,132 110,170 186,90"
badge no '#E5484D' "stroke-linecap round line 86,86 170,170 line 170,86 86,170"
badge unknown '#9AA4B2' "stroke-linecap round line 80,128 176,128"
badge warn '#F59E0B' "stroke-linecap round line 128,64 128,140 line 128,186 128,188"

# The headset mark: a visor with two lenses, white on transparent.
convert -size 320x224 xc:none -fill white -draw "roundrectangle 16,40 304,200 56,56" \
    -fill '#2563EB' -draw "circle 104,120 104,164" -draw "circle 216,120 216,164" \
    -fill white -draw "rectangle 140,24 180,44" -write mpr:logo +delete \
    \( mpr:logo -resize 40x28 -strip -write PNG32:logo.png +delete \) \
    mpr:logo -resize 80x56 -strip PNG32:logo@2x.png

# The close cross of the header (a 36 px button), in the header's text colour.
convert -size 144x144 xc:none -stroke '#DCE6F5' -strokewidth 8 \
    -draw "stroke-linecap round line 52,52 92,92 line 92,52 52,92" -write mpr:close +delete \
    \( mpr:close -resize 36x36 -strip -write PNG32:close.png +delete \) \
    mpr:close -resize 72x72 -strip PNG32:close@2x.png

# Application icon: the headset mark on a blue rounded square, 16/32/48 px.
convert -size 256x256 xc:none -fill '#1D4ED8' -draw "roundrectangle 0,0 255,255 48,48" \
    -fill white -draw "roundrectangle 28,76 228,196 40,40" \
    -fill '#1D4ED8' -draw "circle 88,136 88,166" -draw "circle 168,136 168,166" \
    -fill white -draw "rectangle 112,60 144,80" -strip icon256.png
convert icon256.png -define icon:auto-resize=48,32,16 ../../app/tavolex.ico
rm -f icon256.png
