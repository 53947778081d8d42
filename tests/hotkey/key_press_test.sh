#!/usr/bin/env bash
# Real key presses of Ctrl+Alt+1 and Ctrl+Alt+F1 on the virtual display reach the HotKey component as HotKeyPress events.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib.sh"
wine="$ROOT/scripts/wine-exec"
client=$1
dll=$2
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

"$wine" "$client" "Z:${dll//\//\\}" >"$out" 2>&1 &
pid=$!
expect '^ready' 20 "its ready line"
win=$(x_window 'Tarnkey press test' 10) || fail "the client's window is not on the display"
# Wine sees key events only while one of its windows has the X focus.
xdotool windowfocus "$win" 2>/dev/null
poll 5 focused "$win" || fail "the client's window did not get the X focus"
xdotool key ctrl+alt+1
expect '^pressed 0' 10 "Ctrl+Alt+1"
xdotool key ctrl+alt+F1
expect '^pressed 1' 10 "Ctrl+Alt+F1"
wait_bounded 20 "$pid"
code=$?
pid=
tr -d '\r' <"$out"
[ $code -ne 124 ] || { echo "FAIL: the client did not finish within 20 s"; exit 1; }
grep -q '^free after release' "$out" || { echo "FAIL: the keys were still held after release"; exit 1; }
[ $code -eq 0 ] || { echo "FAIL: client exit $code"; exit 1; }
echo "both key presses arrived as HotKeyPress"
