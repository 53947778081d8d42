#!/usr/bin/env bash
# Real key presses of Ctrl+Alt+F3 and Ctrl+Alt+0 on the virtual display reach
# the hotkey client (Tarnkey loaded from its folder) and map to copy slot 2 and
# paste slot 9.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib.sh"
wine="$ROOT/scripts/wine-exec"
client=$1
folder=$(dirname "$2")
out=$(mktemp)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -f "$out"
}
trap cleanup EXIT
fail() {
  tr -d '\r' <"$out"
  echo "FAIL: $*"
  exit 1
}
expect() {  # pattern seconds what
  wait_line "$out" "$1" "$2" "$pid"
  case $? in
    1) fail "$3 did not come within $2 s" ;;
    2) fail "the client ended before $3 came" ;;
  esac
}
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }

"$wine" "$client" "Z:${folder//\//\\}" >"$out" 2>&1 &
pid=$!
expect '^ready' 20 "its ready line"
win=$(x_window 'Quillet hotkey press test' 10) || fail "the client's window is not on the display"
# Wine sees key events only while one of its windows has the X focus.
xdotool windowfocus "$win" 2>/dev/null
poll 5 focused "$win" || fail "the client's window did not get the X focus"
xdotool key ctrl+alt+F3
expect '^copy 2' 10 "Ctrl+Alt+F3"
xdotool key ctrl+alt+0
expect '^paste 9' 10 "Ctrl+Alt+0"
wait_bounded 20 "$pid"
code=$?
pid=
tr -d '\r' <"$out"
[ $code -ne 124 ] || { echo "FAIL: the client did not finish within 20 s"; exit 1; }
grep -q '^free after release' "$out" || { echo "FAIL: the keys were still held after release"; exit 1; }
[ $code -eq 0 ] || { echo "FAIL: client exit $code"; exit 1; }
echo "both presses mapped to their slots"
