#!/bin/sh
# Writes a loose-file project with N slides for timing and memory measurements:
# each slide shows its own picture plus a banner and a text over three shared pictures.
#   bench/projects/make-big-project.sh <folder> <slide count>
set -eu
dir=$1
count=$2
mkdir -p "$dir/pictures"
cd "$dir"
[ -f pictures/shared1.png ] || {
  convert -size 64x64 xc:navy pictures/shared1.png
  convert -size 64x64 gradient:red-yellow pictures/shared2.png
  convert -size 64x64 xc:white -fill black -draw "circle 32,32 32,4" pictures/shared3.png
}
# One small picture per slide, made once and copied (ImageMagick per file is slow).
[ -f pictures/base.jpg ] || convert -size 160x90 plasma:fractal -seed 1 pictures/base.jpg
{
  printf '[main]\nKivVersion=1.0\nMinorVersion=13\nopt_scr_caption=big show\n'
  printf 'opt_scr_width=1280\nopt_scr_height=720\nopt_scr_full=0\nopt_repeat=close\n'
  printf 'opt_slidescount=%d\n' "$count"
  i=1
  while [ "$i" -le "$count" ]; do
    printf 'opt_synchpos%d=%d\n' "$i" $((i * 3000))
    i=$((i + 1))
  done
  printf 'opt_fx_enable=1\nopt_fx_time=500\n\n'
  i=1
  while [ "$i" -le "$count" ]; do
    [ -f "pictures/p$i.jpg" ] || cp pictures/base.jpg "pictures/p$i.jpg"
    cat <<SLIDE
[Slide$i]
slideid=S$i
object Picture: MainImage
  GUID={B0000000-0000-0000-0000-$(printf '%012d' "$i")}
  ImageName=pictures\\p$i.jpg
end
object Back: Image
  ImageName=pictures\\shared$((i % 3 + 1)).png
end
object Title: Text
  Text="Slide $i"
  TextColor=255,255,255
  FontName=DejaVu Sans
  BlackBoxSize=400,60
end

SLIDE
    i=$((i + 1))
  done
} > Project.kiv
