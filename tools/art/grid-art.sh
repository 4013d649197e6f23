#!/usr/bin/env bash
# Draws the question-grid and type-tab pictures of the practice windows into assets/pic.
# Cells: pale = unanswered, green with a tick = right, red with a cross = wrong; the pressed
# versions carry a dark outline. The cell number is drawn by the button over the picture.
# Run by hand when the artwork changes; the BMP files are committed.
set -euo pipefail
out="$(cd "$(dirname "$0")/../.." && pwd)/assets/pic"
mkdir -p "$out"

W=44 H=32

# cell FILE TOP BOTTOM BORDER BORDERWIDTH MARK
cell() {
  local file=$1 top=$2 bottom=$3 border=$4 bw=$5 mark=$6
  local args=()
  case $mark in
    tick) args=(-stroke '#1e7a3c' -strokewidth 2.5 -fill none -draw 'polyline 31,23 35,27 41,18') ;;
    cross) args=(-stroke '#b3261e' -strokewidth 2.5 -draw 'line 32,19 40,27' -draw 'line 40,19 32,27') ;;
  esac
  convert -size ${W}x${H} gradient:"$top"-"$bottom" \
    -fill none -stroke "$border" -strokewidth "$bw" \
    -draw "roundrectangle $(( bw / 2 )),$(( bw / 2 )) $(( W - 1 - bw / 2 )),$(( H - 1 - bw / 2 )) 5,5" \
    "${args[@]}" -type TrueColor "BMP3:$out/$file"
}

# Released: light surfaces with a thin border.
cell qorvup.bmp '#ffffff' '#e8f1f3' '#9dbdc6' 1 none
cell qorvyes.bmp '#e9f8ec' '#bfe6c8' '#4fa865' 1 tick
cell qorvno.bmp '#fdeeec' '#f4c4be' '#cf5a4e' 1 cross
# Pressed (the question on screen): a shade deeper, inverted light, dark teal outline.
cell qorvdw.bmp '#cfe4ea' '#f2f8fa' '#0f5e6e' 3 none
cell qorvdw_r.bmp '#a9dcb6' '#e3f5e7' '#0f5e6e' 3 tick
cell qorvdw_w.bmp '#f1b3ab' '#fbe6e3' '#0f5e6e' 3 cross

# Type tabs: released pale with a teal edge, pressed deep teal (the caption turns white).
TW=120 TH=26
convert -size ${TW}x${TH} gradient:'#ffffff'-'#deebef' -fill none -stroke '#8fb3bd' -strokewidth 1 \
  -draw "roundrectangle 0,0 $(( TW - 1 )),$(( TH - 1 )) 6,6" -type TrueColor "BMP3:$out/qorvtxup.bmp"
convert -size ${TW}x${TH} gradient:'#1f7894'-'#3a9dbd' -fill none -stroke '#0f5e6e' -strokewidth 2 \
  -draw "roundrectangle 1,1 $(( TW - 2 )),$(( TH - 2 )) 6,6" -type TrueColor "BMP3:$out/qorvtxdw.bmp"
