#!/usr/bin/env bash
# Draws the message dialog's pictures (title strip, three 32x32 icons, button faces) into assets/ui.
# Run by hand when the artwork changes; the PNGs are committed.
set -euo pipefail
out="$(cd "$(dirname "$0")/../.." && pwd)/assets/ui"
mkdir -p "$out"

# Title strip: deep teal to sea blue, with a soft light band and fine diagonal lines.
convert -size 480x34 gradient:'#0f5e6e'-'#2f8fb0' \
  \( -size 480x34 xc:none -fill 'rgba(255,255,255,0.10)' -draw 'rectangle 0,0 480,12' \) -composite \
  \( -size 480x34 xc:none -stroke 'rgba(255,255,255,0.06)' -strokewidth 1 \
     -draw "$(for x in $(seq -40 12 480); do printf 'line %d,34 %d,0 ' "$x" $((x+34)); done)" \) -composite \
  "$out/dlg-title.png"

# Information: blue disc with a white "i".
convert -size 64x64 xc:none -fill '#2b7bd6' -stroke '#1a5aa6' -strokewidth 2 -draw 'circle 32,32 32,3' \
  -stroke none -fill white -draw 'circle 32,18 32,13' -draw 'roundrectangle 27,26 37,50 3,3' \
  -resize 32x32 "$out/icon-info.png"
# Warning: amber triangle with a dark "!".
convert -size 64x64 xc:none -fill '#f2b01e' -stroke '#c48708' -strokewidth 2 \
  -draw 'polygon 32,4 61,58 3,58' \
  -stroke none -fill '#3b2a05' -draw 'roundrectangle 29,20 35,43 2,2' -draw 'circle 32,50 32,46' \
  -resize 32x32 "$out/icon-warning.png"
# Error: red disc with a white cross.
convert -size 64x64 xc:none -fill '#d83b32' -stroke '#a5241d' -strokewidth 2 -draw 'circle 32,32 32,3' \
  -stroke white -strokewidth 7 -draw 'line 21,21 43,43' -draw 'line 43,21 21,43' \
  -resize 32x32 "$out/icon-error.png"
