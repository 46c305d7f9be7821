#!/bin/sh
# Draws the demo show's logo and the pictures of its navigation panel's skin
# (navbar/panel.ini) with ImageMagick. Like the slides' pictures they are kept in the
# repository; run this only to change them.
set -e
cd "$(dirname "$0")"
# The logo: a play sign on a rounded plate.
convert -size 192x192 xc:none -fill '#1f6fd1' -stroke '#ffffff' -strokewidth 8 \
  -draw "roundrectangle 6,6 185,185 40,40" -fill '#ffffff' -stroke none -draw "polygon 72,50 72,142 146,96" \
  pictures/logo.png
# The panel: a dark plate cut into a left end, a middle that repeats and a right end.
convert -size 40x56 xc:none -fill 'rgba(12,20,40,0.78)' -draw "roundrectangle 0,0 39,55 16,16" navbar/panel.png
# Each button's round background, normal, under the pointer and pressed, side by side.
convert -size 132x44 xc:none \
  -fill 'rgba(255,255,255,0.10)' -draw "circle 22,22 22,2" \
  -fill 'rgba(255,255,255,0.28)' -draw "circle 66,22 66,2" \
  -fill 'rgba(242,166,90,0.85)' -draw "circle 110,22 110,2" navbar/round.png
# The signs, white on nothing, 24 x 24.
sign() { convert -size 24x24 xc:none -fill white "$@"; }
sign -draw "polygon 12,3 22,12 19,12 19,21 14,21 14,15 10,15 10,21 5,21 5,12 2,12" navbar/home.png
sign -draw "polygon 12,5 12,19 3,12" -draw "polygon 21,5 21,19 12,12" navbar/back.png
sign -draw "polygon 3,5 3,19 12,12" -draw "polygon 12,5 12,19 21,12" navbar/forward.png
sign -draw "rectangle 6,5 9,19" -draw "rectangle 15,5 18,19" navbar/pause.png
sign -draw "polygon 7,4 7,20 20,12" navbar/play.png
sign -draw "circle 12,5 12,3" -draw "rectangle 10,9 14,21" navbar/help.png
