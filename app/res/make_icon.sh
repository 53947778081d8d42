#!/usr/bin/env bash
# Draws quillet.ico at every size the shell asks for (16 to 256 pixels) from
# one 32-unit drawing; the hand-made 16 and 32 pixel images already in the
# icon are kept. Needs ImageMagick; the .ico is kept in the tree.
set -euo pipefail
icon=$(dirname "$0")/quillet.ico
out=${1:-$icon}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

draw() {  # size file
  local size=$1
  # Below 48 pixels the bars' edges are put on whole pixels, so they stay sharp.
  at() {
    local v
    v=$(echo "$1 * $size / 32" | bc -l)
    if [ "$size" -lt 48 ]; then printf '%.0f' "$v"; else printf '%.2f' "$v"; fi
  }
  convert -size "${size}x${size}" xc:none \
    -fill '#2050A0' -draw "roundrectangle $(at 3) $(at 3) $(at 29) $(at 29) $(at 3.5) $(at 3.5)" \
    -fill white \
    -draw "rectangle $(at 8) $(at 7) $(at 24) $(at 10.5)" \
    -draw "rectangle $(at 8) $(at 14) $(at 24) $(at 17.5)" \
    -draw "rectangle $(at 8) $(at 21) $(at 19) $(at 24.5)" \
    -fill '#E03030' -draw "circle $(at 24) $(at 23.5) $(at 28.5) $(at 23.5)" \
    "PNG32:$2"
}

# The kept images, found by size rather than by their place in the file.
keep() {  # size file
  local i
  for i in $(seq 0 $(($(identify "$icon" | wc -l) - 1))); do
    if [ "$(identify -format '%w' "$icon[$i]")" = "$1" ]; then
      convert "$icon[$i]" "PNG32:$2"
      return 0
    fi
  done
  echo "make_icon: $icon has no $1-pixel image" >&2
  return 1
}

files=()
for size in 256 48 32 24 20 16; do
  case $size in
    16 | 32) keep "$size" "$work/$size.png" ;;
    *) draw "$size" "$work/$size.png" ;;
  esac
  files+=("$work/$size.png")
done
convert "${files[@]}" "$out"
echo "make_icon: wrote $out"
