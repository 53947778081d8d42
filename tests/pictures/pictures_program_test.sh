#!/usr/bin/env bash
# The real program's Pictures store with ten pictures, worked with the real
# mouse and keyboard: a slot dragged into another program carries its file
# and leaves its picture on the clipboard; a double-click previews a
# 4,000 x 3,000 picture, which real drags pan to its far corner and a
# double-click closes; the pop-up's Set as Wallpaper reaches the system and
# the user's profile. Screenshots of the store and of the preview are left in
# the folder given for a person to look at.
set -u
program=$1 waitready=$2 probe=$3 client=$4 shots=$5
source "$(dirname "$0")/../support/program.sh"
pics="$drive_c/ClipPics"
mkdir -p "$shots"
out=$(mktemp)
client_pid=
on_exit() {
  [ -n "$client_pid" ] && kill "$client_pid" 2>/dev/null
  rm -rf "$pics" "$out" "$drive_c/WallPaper.BMP"
  "$wine" reg delete 'HKCU\Control Panel\Desktop' /v Wallpaper /f >/dev/null 2>&1
}
# The colour of a screenshot's pixel as "r,g,b".
pixel() {  # file x y
  convert "$1" -crop "1x1+$2+$3" +repage -format '%[fx:round(255*r)],%[fx:round(255*g)],%[fx:round(255*b)]' info:
}
shot() { import -display "$DISPLAY" -window root "$shots/$1"; }

# Ten pictures of every shape, in the slot files as the program writes them.
# The first is large, its last column and row blue, with a red square inside
# that corner.
rm -rf "$pics" && mkdir -p "$pics"
bmp() { convert "$@" -type TrueColor "BMP3:$pics/$(printf 'pic%s.bmp' "$n")" || fail "convert: $*"; }
n=1 bmp -size 4000x3000 gradient:'#305080-#c0a060' \
  -fill '#ff0000' -draw 'rectangle 3900,2900 3998,2998' \
  -fill '#0000ff' -draw 'rectangle 3999,0 3999,2999' -draw 'rectangle 0,2999 3999,2999'
n=2 bmp rose: -resize 300%
n=3 bmp logo:
n=4 bmp wizard:
n=5 bmp -size 600x400 gradient:'#ffd700-#8b0000'
n=6 bmp -size 300x200 xc:'#00c000'
n=7 bmp granite: -resize 200%
n=8 bmp -size 160x640 gradient:'#87ceeb-#191970'
n=9 bmp -size 300x300 pattern:checkerboard -fill '#ff8c00' -draw 'circle 150,150 150,60'
n=10 bmp -size 2400x600 gradient:'#4060ff-#ffe080'
settings 'StoreNumber=0\r\nAutoSave=1\r\nSounds=0\r\n'
start_program
main=$(x_window 'Quillet Pro' 10) || fail "the program's window is not on the display"

# The solid green picture 6 shows in its thumbnail once the store is drawn.
read -r x y w h < <(p where $((2220 + 5))) || fail "no thumbnail 6"
green_shows() {
  shot pictures-store.png
  [ "$(pixel "$shots/pictures-store.png" $((x + w / 2)) $((y + h / 2)))" = "0,192,0" ]
}
poll 10 green_shows || fail "thumbnail 6 does not show its green picture"
echo "the store shows its ten thumbnails ($shots/pictures-store.png)"

# A slot dragged into another program.
"$wine" "$client" >"$out" 2>&1 &
client_pid=$!
wait_line "$out" '^ready' 40 "$client_pid" || fail "the drop window did not get ready"
read -r _ tx ty < <(grep '^ready' "$out" | tr -d '\r')
read -r x y w h < <(p where $((2220 + 2))) || fail "no thumbnail 3"
drag_mouse $((x + w / 2)) $((y + h / 2)) "$tx" "$ty" "$out"
wait_bounded 70 "$client_pid"
code=$?
client_pid=
tr -d '\r' <"$out"
[ $code -eq 0 ] || fail "the drop client ended with $code"
tr -d '\r' <"$out" | grep -qx 'file C:\\ClipPics\\pic3.bmp' || fail "the slot's file was not dropped"
tr -d '\r' <"$out" | grep -qx 'clipboard 640x480' || fail "the clipboard does not hold the slot's picture"
echo "the drag carried slot 3's file, and its picture is on the clipboard"

# The preview of the large picture, panned by real drags to its far corner:
# a drag from near the lower right corner to near the upper left, until the
# picture's last column and row show at the edges.
read -r x y w h < <(p where 2220) || fail "no thumbnail 1"
xdotool mousemove --sync $((x + w / 2)) $((y + h / 2)) click --repeat 2 --delay 80 1
x_window 'Quillet Pro - Preview' 20 >/dev/null || fail "no preview window after a double-click"
preview_area() { read -r cx cy cw ch < <(p client 'Quillet Pro - Preview'); [ -n "${ch:-}" ]; }
poll 10 preview_area || fail "the preview has no inner area"
[ "$cw" -lt 4000 ] && [ "$ch" -lt 3000 ] || fail "the preview is not smaller than its picture (${cw}x$ch)"
shot preview-start.png
blue="0,0,255" red="255,0,0"
f="$shots/preview-corner.png"
corner_shows() {
  shot preview-corner.png
  [ "$(pixel "$f" $((cx + cw - 1)) $((cy + ch / 2)))" = "$blue" ] &&
    [ "$(pixel "$f" $((cx + cw / 2)) $((cy + ch - 1)))" = "$blue" ]
}
# Each drag starts a little apart from the one before, so that no two
# presses make a double-click, which would close the preview.
drags=0
pan() {
  local off=$((drags % 2 * 12))
  drags=$((drags + 1))
  xdotool mousemove --sync $((cx + cw - 20 - off)) $((cy + ch - 20 - off)) mousedown 1 \
    mousemove --sync $((cx + cw / 2)) $((cy + ch / 2)) mousemove --sync $((cx + 20)) $((cy + 20)) \
    mouseup 1
  corner_shows
}
poll 20 pan || fail "real drags did not pan the preview to its far corner"
[ "$(pixel "$f" $((cx + cw - 2)) $((cy + ch / 2)))" != "$blue" ] || fail "the picture went past its last column"
[ "$(pixel "$f" $((cx + cw / 2)) $((cy + ch - 2)))" != "$blue" ] || fail "the picture went past its last row"
[ "$(pixel "$f" $((cx + cw - 50)) $((cy + ch - 50)))" = "$red" ] || fail "the red corner square is not there"
echo "real drags panned the preview to its far corner ($shots/preview-start.png, preview-corner.png)"
xdotool mousemove --sync $((cx + cw / 2)) $((cy + ch / 2)) click --repeat 2 --delay 80 1
preview_gone() {
  ! xdotool search --onlyvisible --name '^Quillet Pro - Preview$' >/dev/null 2>&1 &&
    ! "$wine" "$probe" client 'Quillet Pro - Preview' >/dev/null 2>&1
}
poll 10 preview_gone || fail "a double-click did not close the preview"
echo "a double-click closed the preview"

# Set as Wallpaper from the pop-up of slot 5: its last item.
xdotool windowfocus --sync "$main" 2>/dev/null
read -r x y w h < <(p where $((2220 + 4))) || fail "no thumbnail 5"
xdotool mousemove --sync $((x + w / 2)) $((y + h / 2)) click 3
in_menu() { "$wine" "$probe" menu >/dev/null 2>&1; }
poll 10 in_menu || fail "a right click on thumbnail 5 showed no pop-up"
xdotool key Up Return
set_to_root() { p wallpaper | grep -qx 'system C:\\WallPaper.BMP'; }
poll 10 set_to_root || fail "the system's wallpaper is not C:\\WallPaper.BMP ($(p wallpaper))"
p wallpaper | grep -qx 'profile C:\\WallPaper.BMP' || fail "the profile does not hold the wallpaper ($(p wallpaper))"
differing=$(compare -metric AE "$drive_c/WallPaper.BMP" "$pics/pic5.bmp" null: 2>&1)
[ "$differing" = "0" ] || fail "C:\\WallPaper.BMP is not slot 5's picture ($differing pixels differ)"
echo "Set as Wallpaper made slot 5 the wallpaper in the system and the profile"
exit_program
exit 0
