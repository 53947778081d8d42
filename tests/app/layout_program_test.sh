#!/usr/bin/env bash
# The main window's layout in the real program: slot 1's controls where the
# twips put them at 96 and at 144 DPI, normal and mirrored; a real drag on
# the background moves the window; a double-click toggles the width.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib.sh"
wine="$ROOT/scripts/wine-exec"
program=$1 waitready=$2 probe=$3
: "${WINEPREFIX:?}"
folder="$WINEPREFIX/drive_c/Program Files/Quillet Pro"
mkdir -p "$folder"
cp "$program" "$folder/"
ini="$WINEPREFIX/drive_c/quilbdx.ini"
desktop='HKCU\Control Panel\Desktop'
app=
stop_program() {
  [ -n "$app" ] || return 0
  "$wine" "$probe" exit >/dev/null 2>&1
  wait_bounded 20 "$app" >/dev/null || { echo "FAIL: the program did not end"; exit 1; }
  app=
}
cleanup() {
  stop_program
  rm -f "$ini"
  # The prefix is shared with the other tests: its DPI goes back to the default.
  "$wine" reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1
  restart_wineserver
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
start_program() {
  printf '[Settings]\r\naskImport=1\r\nStoreNumber=1\r\nAutoSave=1\r\nFormWidth=9000\r\nFormLeft=1500\r\nFormTop=1500\r\n' >"$ini"
  (cd "$folder" && exec "$wine" 'C:\Program Files\Quillet Pro\quilletpro.exe') >/dev/null 2>&1 &
  app=$!
  "$wine" "$waitready" 30000 >/dev/null || fail "the program did not get ready"
}
layout() { "$wine" "$probe" layout 2>/dev/null | tr -d '\r'; }
expect_layout() {  # what, expected lines (client line without its position)
  local got
  got=$(layout | sed 's/ at .*//')
  [ "$got" = "$2" ] || fail "$1: expected
$2
got
$got"
  echo "$1: as designed"
}

start_program
expect_layout "96 DPI, normal" "client 592 380
title 3 48 73 21
text 100 48 463 21
copy 574 48 17 25
paste 81 48 20 25
number 565 53 9 9"
"$wine" "$probe" mirror >/dev/null || fail "could not choose Mirror"
expect_layout "96 DPI, mirrored" "client 592 380
title 518 48 73 21
text 31 48 463 21
copy 3 48 17 25
paste 498 48 20 25
number 21 53 9 9"
"$wine" "$probe" mirror >/dev/null

# The tips hear of the mouse through the message loop: resting on slot 1's
# Paste button shows its tip.
read -r _ _ _ _ x y < <(layout | head -1)
xdotool mousemove $((x + 85)) $((y + 52)) sleep 0.2 mousemove $((x + 90)) $((y + 55))
tip() { "$wine" "$probe" tip >/dev/null 2>&1; }
poll 10 tip || fail "no tip over the Paste button"
echo "the Paste button's tip shows"

# Moving: a drag on the background above the store strip, right of it.
read -r _ _ _ _ x y < <(layout | head -1)
before=$("$wine" "$waitready" 5000 | tr -d '\r')
xdotool mousemove $((x + 260)) $((y + 8)) mousedown 1 sleep 0.3 \
  mousemove $((x + 290)) $((y + 40)) sleep 0.3 mousemove $((x + 310)) $((y + 68)) sleep 0.3 mouseup 1
sleep 1
after=$("$wine" "$waitready" 5000 | tr -d '\r')
read -r bx by bw _ <<<"$before"
read -r ax ay aw _ <<<"$after"
[ $((ax - bx)) -eq 50 ] && [ $((ay - by)) -eq 60 ] ||
  fail "the background drag moved the window from $before to $after"
echo "a background drag moved the window by 50, 60"

# The width toggle: 600 pixels to the default 333 and back to the stored
# width, clicked between the strip and the maker's name at either width.
read -r _ _ _ _ x y < <(layout | head -1)
xdotool mousemove $((x + 240)) $((y + 8)) click --repeat 2 --delay 80 1
sleep 1
read -r _ _ w _ < <("$wine" "$waitready" 5000 | tr -d '\r')
[ "$w" = 333 ] || fail "a double-click made the width $w, not 333"
xdotool click --repeat 2 --delay 80 1
sleep 1
read -r _ _ w _ < <("$wine" "$waitready" 5000 | tr -d '\r')
[ "$w" = "$bw" ] || fail "the second double-click made the width $w, not $bw"
echo "double-clicks toggled the width 600 -> 333 -> 600"
stop_program

restart_wineserver
"$wine" reg add "$desktop" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1 ||
  fail "could not set 144 DPI"
restart_wineserver
start_program
expect_layout "144 DPI, normal" "client 890 570
title 4 72 110 32
text 150 72 695 32
copy 861 72 26 38
paste 121 72 30 38
number 848 80 14 14"
exit 0
