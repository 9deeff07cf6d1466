#!/usr/bin/env bash
# Draws the setup program's icon (a processor chip with a snowflake on it)
# and writes resources/Kestrin.ico with 16, 32 and 48 pixel images. The
# picture is drawn on a 256-pixel canvas and scaled down per size; the small
# sizes get thicker strokes so that the snowflake stays readable.
# Needs ImageMagick's convert. Run it from anywhere; the .ico is checked in.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/../Kestrin.ico}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# $1: output PNG, $2: snowflake stroke width on the 256 canvas, $3: size,
# $4: 1 to give the arms their branches (too fine for 16 pixels)
draw() {
  local png=$1 stroke=$2 size=$3 branches=$4
  local pins=""
  for i in 0 1 2 3 4; do
    local c=$((62 + i * 30))
    pins+=" rectangle $((c - 7)),20 $((c + 7)),52"
    pins+=" rectangle $((c - 7)),204 $((c + 7)),236"
    pins+=" rectangle 20,$((c - 7)) 52,$((c + 7))"
    pins+=" rectangle 204,$((c - 7)) 236,$((c + 7))"
  done
  # Six arms of the snowflake around the centre (128,128), each with a pair
  # of short branches two thirds of the way out.
  local flake=""
  for a in 0 60 120 180 240 300; do
    flake+=$(awk -v a="$a" -v branches="$branches" 'BEGIN {
      pi = atan2(0, -1); r = a * pi / 180; c = cos(r); s = sin(r)
      x = 128 + 62 * s; y = 128 - 62 * c
      printf " line 128,128 %.1f,%.1f", x, y
      bx = 128 + 38 * s; by = 128 - 38 * c
      for (d = -1; branches && d <= 1; d += 2) {
        rb = r + d * 0.75
        printf " line %.1f,%.1f %.1f,%.1f", bx, by, bx + 24 * sin(rb), by - 24 * cos(rb)
      }
    }')
  done
  convert -size 256x256 xc:none \
    -fill '#9aa3ad' -stroke none -draw "$pins" \
    -fill '#2b3440' -stroke '#141a21' -strokewidth 6 -draw "roundrectangle 44,44 212,212 18,18" \
    -fill none -stroke '#5fd3ff' -strokewidth "$stroke" -draw "stroke-linecap round $flake" \
    -fill '#eafaff' -stroke none -draw "circle 128,128 128,$((128 - stroke))" \
    -filter Lanczos -resize "${size}x${size}" "$png"
}

draw "$work/48.png" 10 48 1
draw "$work/32.png" 13 32 1
draw "$work/16.png" 20 16 0
convert "$work/16.png" "$work/32.png" "$work/48.png" "$out"
echo "wrote $out"
