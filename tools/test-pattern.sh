#!/usr/bin/env bash
# Draws the simulated board's input picture: a 3840 x 2160 test pattern with
# colour bars, a 240-pixel grid, labelled corners, a centre mark, a clock and
# a marker that moves along the bottom edge once a minute.  The same time
# gives the same picture.
#
#   tools/test-pattern.sh OUT [HH:MM:SS]     (OUT: any ImageMagick format, e.g. x.png, x.ppm)
#
# Without a time the current UTC time is drawn.
set -euo pipefail
usage() { echo "usage: test-pattern.sh OUT [HH:MM:SS]" >&2; exit 1; }
[ $# -ge 1 ] && [ $# -le 2 ] && [[ $1 != -* ]] || usage
out=$1
clock=${2:-$(date -u +%H:%M:%S)}
[[ $clock =~ ^([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]$ ]] || { echo "test-pattern: time must be HH:MM:SS" >&2; exit 1; }
font=$(fc-match -f '%{file}' 'DejaVu Sans:bold')
[ -f "$font" ] || { echo "test-pattern: no font found (fc-match)" >&2; exit 1; }

w=3840 h=2160
seconds=$((10#${clock:6:2}))
marker_x=$((120 + seconds * (w - 360) / 59))

draw=()
# Colour bars across the upper band.
colours=(white yellow cyan lime magenta red blue black)
for i in "${!colours[@]}"; do
  draw+=(-fill "${colours[$i]}" -draw "rectangle $((i * w / 8)),240 $(((i + 1) * w / 8 - 1)),960")
done
# Grid: every 240 px, brighter every 960 px.
for x in $(seq 240 240 $((w - 1))); do
  c=gray45; [ $((x % 960)) = 0 ] && c=gray80
  draw+=(-fill "$c" -draw "rectangle $((x - 2)),0 $((x + 1)),$((h - 1))")
done
for y in $(seq 240 240 $((h - 1))); do
  c=gray45; [ $((y % 960)) = 0 ] && c=gray80
  draw+=(-fill "$c" -draw "rectangle 0,$((y - 2)) $((w - 1)),$((y + 1))")
done

convert -size ${w}x${h} xc:'#1c2430' "${draw[@]}" \
  -fill none -stroke white -strokewidth 12 -draw "rectangle 6,6 $((w - 7)),$((h - 7))" \
  -draw "circle $((w / 2)),$((h / 2)) $((w / 2 + 420)),$((h / 2))" \
  -draw "line $((w / 2 - 480)),$((h / 2)) $((w / 2 + 480)),$((h / 2))" \
  -draw "line $((w / 2)),$((h / 2 - 480)) $((w / 2)),$((h / 2 + 480))" -stroke none \
  -font "$font" -pointsize 120 -fill white -undercolor '#c01010' \
  -gravity NorthWest -annotate +40+40 ' TOP LEFT ' \
  -gravity NorthEast -annotate +40+40 ' TOP RIGHT ' \
  -gravity SouthWest -annotate +40+260 ' BOTTOM LEFT ' \
  -gravity SouthEast -annotate +40+260 ' BOTTOM RIGHT ' \
  -undercolor '#000000a0' -pointsize 110 -gravity North -annotate +0+1020 ' TEST INPUT  3840 x 2160 ' \
  -pointsize 260 -gravity South -annotate +0+420 " $clock " \
  -gravity NorthWest -undercolor none -fill orange \
  -draw "rectangle $marker_x,$((h - 200)) $((marker_x + 240)),$((h - 40))" \
  -fill black -pointsize 100 -annotate +$((marker_x + 40))+$((h - 175)) "$(printf '%02d' "$seconds")" \
  -depth 8 "$out"
