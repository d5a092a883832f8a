#!/bin/sh
# Draws resources/varnel.ico (16, 32 and 48 px): a folder sliding out of a screen's edge.
# Each size is drawn from the same 48-unit picture, scaled, so small sizes stay sharp.
# Needs ImageMagick's convert.
set -eu
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

picture='
stroke-linejoin round
fill #26344f stroke none
roundrectangle 12,5 46,35 3,3
rectangle 26,35 32,40
roundrectangle 19,40 39,44 1.5,1.5
fill #3f97d8
rectangle 15,8 43,31
fill #7cc4f2
polygon 15,8 43,8 43,14 15,22
stroke #ffffff stroke-opacity 0.85 stroke-width 2 stroke-linecap round fill none
line 31,16 40,16
line 33,21 41,21
line 31,26 40,26
stroke #9a6a00 stroke-width 1.2 stroke-opacity 1 fill #f2b632
path "M 2,13 L 9,13 L 11,15.5 L 25,15.5 L 25,31 L 2,31 Z"
fill #ffd35c stroke none
path "M 3,18 L 24,18 L 24,30 L 3,30 Z"
'

for size in 16 32 48; do
  scale=$(echo "scale=4; $size / 48" | bc)
  printf 'viewbox 0 0 %s %s\naffine %s 0 0 %s 0 0\n%s\n' "$size" "$size" "$scale" "$scale" \
    "$picture" > "$work/icon.mvg"
  convert -size "${size}x${size}" xc:none -draw "$(cat "$work/icon.mvg")" "PNG32:$work/icon$size.png"
done
convert "$work/icon16.png" "$work/icon32.png" "$work/icon48.png" resources/varnel.ico
# Previews for review, never committed.
if [ "${1:-}" = "--preview" ]; then
  convert "$work/icon48.png" -scale 400% "${2:-/tmp/varnel-icon-preview.png}"
fi
