#!/usr/bin/env bash
# Draws the about window's artwork into assets/ui/about.png. Run by hand; the PNG is committed.
set -euo pipefail
out="$(cd "$(dirname "$0")/../.." && pwd)/assets/ui"
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
convert -size 480x300 gradient:'#eaf5f8'-'#ffffff' \
  -fill '#0f5e6e' -draw 'rectangle 0,0 480,96' \
  -fill '#2f8fb0' -draw 'polygon 0,96 480,60 480,96' \
  -fill 'rgba(255,255,255,0.12)' -draw 'circle 420,20 470,20' -draw 'circle 60,90 80,90' \
  -fill none -stroke '#2f8fb0' -strokewidth 3 -draw 'roundrectangle 34,128 96,196 6,6' \
  -stroke '#2f8fb0' -strokewidth 2 -draw 'line 65,128 65,196' \
  -draw 'line 44,146 58,146' -draw 'line 44,158 58,158' -draw 'line 72,146 88,146' -draw 'line 72,158 88,158' \
  -fill '#f2b01e' -stroke none -draw 'polygon 80,186 96,206 112,180 106,176 96,194 86,180' \
  -font "$font" -fill white -pointsize 38 -annotate +30+58 'Prepdesk' \
  -pointsize 15 -annotate +32+84 '职业资格考试学习与模拟系统' \
  -fill '#1f2d33' -pointsize 16 -annotate +128+146 '章节练习 · 法规考点 · 模拟考试' \
  -pointsize 16 -annotate +128+172 '学习计划 · 学习日志 · 成绩统计' \
  -fill '#5a6b70' -pointsize 12 -annotate +128+214 '版本 1.0' \
  -annotate +128+234 '© 2026 Prepdesk 开发组  保留所有权利' \
  "$out/about.png"
