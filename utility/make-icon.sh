#!/usr/bin/env bash
# Draws Setwright's application icon (32x32 and 16x16) into setwright.ico
# beside this script. The icon is kept in the tree; run this to redraw it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A list of codecs: three rows, each a coloured chip and a line of text, on a
# blue tile.
draw() { # SIZE OUT
  local s=$1 out=$2
  local r=$((s / 6)) chip=$((s >= 32 ? s * 3 / 16 : s / 8))
  local args=(-size "${s}x${s}" xc:none -fill '#2f5d9a' -draw "roundrectangle 0,0 $((s - 1)),$((s - 1)) $r,$r")
  local colours=('#f2d04b' '#4bc8f2' '#f2604b') i y
  for i in 0 1 2; do
    y=$((s * (9 + 7 * i) / 32 - chip / 2))  # rows centred at 9/32, 16/32, 23/32
    args+=(-fill "${colours[$i]}" -draw "rectangle $((s * 3 / 16)),$y $((s * 3 / 16 + chip - 1)),$((y + chip - 1))")
    args+=(-fill white -draw "rectangle $((s * 7 / 16)),$((y + chip / 4)) $((s * 13 / 16)),$((y + chip - 1 - chip / 4))")
  done
  convert "${args[@]}" -depth 8 "PNG32:$out"
}

draw 32 "$work/32.png"
draw 16 "$work/16.png"
convert "$work/32.png" "$work/16.png" "$here/setwright.ico"
echo "wrote $here/setwright.ico"
