#!/bin/sh
# Draws the demo show's pictures with ImageMagick. The pictures are kept in the
# repository so that the demo's frames stay the same whatever ImageMagick version is
# installed; run this only to change them.
set -e
cd "$(dirname "$0")"
convert -size 1280x720 gradient:'#1e3c72-#f2a65a' \
  -fill '#ffd27a' -draw "circle 900,300 900,370" \
  -fill '#3b4a6b' -draw "polygon 0,720 0,470 180,360 330,450 520,300 700,470 860,380 1080,520 1280,420 1280,720" \
  -fill '#22304a' -draw "polygon 0,720 0,590 240,500 470,610 720,520 980,640 1280,560 1280,720" \
  -quality 90 pictures/landscape.jpg
convert -size 1280x720 -seed 11 plasma:orange-firebrick -quality 88 pictures/sunset.jpg
convert -size 512x256 xc:none -fill '#ff6f61' \
  -draw "circle 64,64 64,24" -draw "circle 192,54 192,18" -draw "circle 320,44 320,12" -draw "circle 448,54 448,18" \
  -fill '#6fb7ff' \
  -draw "circle 64,192 64,152" -draw "circle 192,202 192,166" -draw "circle 320,212 320,180" -draw "circle 448,202 448,166" \
  pictures/sprite.png
convert -size 400x400 xc:none -fill white -draw "circle 200,200 200,10" pictures/mask.png
convert -size 256x256 xc:none -fill '#ffe066' -stroke '#c08a00' -strokewidth 6 \
  -draw "polygon 128,12 158,96 248,98 176,152 202,240 128,188 54,240 80,152 8,98 98,96" pictures/star.png
convert -size 96x48 gradient:'#9fd3ff-#1f6fd1' -alpha set -fill none -stroke '#0b3d8c' -strokewidth 3 \
  -draw "roundrectangle 1,1 94,46 16,16" buttons/aqua/aqua.png
