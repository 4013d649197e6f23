#!/usr/bin/env bash
# Draws the exam answer sheet's "answered" picture (qorvover.bmp) into assets/pic, in the
# same cell style as the practice grid: a pale blue surface with a filled dot, meaning an
# answer is recorded but not yet marked. The other six sheet pictures are the practice
# grid's (tools/art/grid-art.sh). Run by hand when the artwork changes; the BMP is committed.
set -euo pipefail
out="$(cd "$(dirname "$0")/../.." && pwd)/assets/pic"
mkdir -p "$out"

W=44 H=32
convert -size ${W}x${H} gradient:'#e6f0fb'-'#bcd3ee' \
  -fill none -stroke '#4f7fb8' -strokewidth 1 \
  -draw "roundrectangle 0,0 $(( W - 1 )),$(( H - 1 )) 5,5" \
  -fill '#2d5f9a' -stroke none -draw 'circle 36,23 39,23' \
  -type TrueColor "BMP3:$out/qorvover.bmp"
