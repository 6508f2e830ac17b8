#!/bin/sh
# Renders the Resondix icon resondix.svg into the PNG sizes of the hicolor
# theme, the Windows icon resondix.ico and the macOS icon resondix.icns.
# Run it in this folder after changing the drawing; the results are kept in
# the repository, so the build needs none of these tools (Debian packages
# librsvg2-bin, imagemagick and icnsutils).
set -eu
cd "$(dirname "$0")"

for size in 16 22 24 32 48 64 128 256 512; do
  rsvg-convert --width "$size" --height "$size" resondix.svg --output "resondix-$size.png"
done
convert resondix-16.png resondix-24.png resondix-32.png resondix-48.png resondix-64.png \
  resondix-256.png resondix.ico
png2icns resondix.icns resondix-16.png resondix-32.png resondix-48.png resondix-128.png \
  resondix-256.png resondix-512.png >/dev/null
