#!/bin/sh
# Draws the toolbar images (30 x 30 PNG) and the logo (300 x 75 JPEG) of
# Resondix with ImageMagick. Run it in this folder; the results are kept in
# the repository, so the build does not need ImageMagick.
set -eu
cd "$(dirname "$0")"

icon() {  # icon NAME DRAW...
  name=$1; shift
  convert -size 30x30 xc:none -strokewidth 1.5 "$@" "PNG32:$name.png"
}

page="path 'M 7,3 L 19,3 L 25,9 L 25,27 L 7,27 Z'"
corner="path 'M 19,3 L 19,9 L 25,9'"

icon new -fill white -stroke '#303030' -draw "$page" -fill '#d8d8d8' -draw "$corner" \
  -stroke '#e0a000' -strokewidth 2 -draw "line 22,13 22,21" -draw "line 18,17 26,17"

icon open -fill '#f0c850' -stroke '#806010' -draw "path 'M 3,8 L 11,8 L 13,10 L 24,10 L 24,25 L 3,25 Z'" \
  -fill '#f8dc80' -draw "path 'M 3,25 L 8,15 L 29,15 L 24,25 Z'"

icon save -fill '#3860b0' -stroke '#1c3060' -draw "roundrectangle 4,4 26,26 2,2" \
  -fill white -stroke none -draw "rectangle 8,5 22,13" \
  -fill '#c0c0c0' -draw "rectangle 9,18 21,26" -fill '#1c3060' -draw "rectangle 17,19 19,24"

icon cut -fill none -stroke '#303030' -strokewidth 2 -draw "circle 9,22 9,26" -draw "circle 21,22 21,26" \
  -stroke '#505050' -draw "line 11,19 21,3" -draw "line 19,19 9,3"

icon copy -fill white -stroke '#303030' -draw "rectangle 4,3 17,20" -draw "rectangle 12,9 26,27" \
  -stroke '#8090b0' -strokewidth 1 -draw "line 15,14 23,14" -draw "line 15,18 23,18" -draw "line 15,22 21,22"

icon paste -fill '#b08850' -stroke '#604020' -draw "roundrectangle 4,5 22,27 2,2" \
  -fill '#d0d0d0' -draw "rectangle 9,3 17,8" \
  -fill white -stroke '#303030' -draw "rectangle 12,12 26,28"

icon fit -fill none -stroke '#909090' -strokewidth 1 -draw "line 3,27 27,27" -draw "line 3,3 3,27" \
  -stroke '#c02020' -strokewidth 2 -draw "path 'M 4,22 C 10,22 12,6 18,8 S 24,18 28,16'" \
  -stroke '#202020' -strokewidth 1.5 -draw "line 6,19 10,19" -draw "line 8,17 8,21" \
  -draw "line 13,9 17,9" -draw "line 15,7 15,11" -draw "line 21,15 25,15" -draw "line 23,13 23,17"

icon information -fill '#3070c0' -stroke '#183860' -draw "circle 15,15 15,3" \
  -fill white -stroke none -draw "circle 15,9 15,11" -draw "rectangle 13,13 17,24"

# The logo: a sky-to-ground band with a sounding curve and its measurements.
convert -size 300x75 gradient:'#1d4f8c'-'#6fa8dc' \
  -fill '#b88a4a' -draw "rectangle 0,58 300,75" -fill '#8a6232' -draw "rectangle 0,66 300,75" \
  -fill none -stroke '#ffffff' -strokewidth 2.5 \
  -draw "path 'M 150,50 C 185,50 200,16 232,18 S 272,44 296,40'" \
  -stroke '#ffd54a' -strokewidth 2 \
  -draw "line 158,46 166,46" -draw "line 162,42 162,50" \
  -draw "line 188,34 196,34" -draw "line 192,30 192,38" \
  -draw "line 220,18 228,18" -draw "line 224,14 224,22" \
  -draw "line 252,26 260,26" -draw "line 256,22 256,30" \
  -draw "line 280,39 288,39" -draw "line 284,35 284,43" \
  -stroke none -fill white -font Liberation-Sans-Bold -pointsize 30 -annotate +12+40 'Resondix' \
  -fill '#dce9f7' -font Liberation-Sans-Italic -pointsize 12 -annotate +14+54 'resistivity soundings' \
  -quality 92 logo.jpg
