#!/usr/bin/env bash
# Real key presses of Ctrl+Alt+1 and Ctrl+Alt+F1 on the virtual display reach the HotKey component as HotKeyPress events.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib.sh"
wine="$ROOT/scripts/wine-exec"
client=$1
dll=$2
client_out=$(mktemp)
client_pid=
cleanup() {
  [ -n "$client_pid" ] && kill "$client_pid" 2>/dev/null
  rm -f "$client_out"
}
trap cleanup EXIT

"$wine" "$client" "Z:${dll//\//\\}" >"$client_out" 2>&1 &
client_pid=$!
client_expect '^ready' 20 "its ready line"
win=$(x_window 'Tarnkey press test' 10) || client_fail "the client's window is not on the display"
# Wine sees key events only while one of its windows has the X focus.
xdotool windowfocus "$win" 2>/dev/null
poll 5 x_focused "$win" || client_fail "the client's window did not get the X focus"
xdotool key ctrl+alt+1
client_expect '^pressed 0' 10 "Ctrl+Alt+1"
xdotool key ctrl+alt+F1
client_expect '^pressed 1' 10 "Ctrl+Alt+F1"
wait_bounded 20 "$client_pid"
code=$?
client_pid=
tr -d '\r' <"$client_out"
[ $code -ne 124 ] || { echo "FAIL: the client did not finish within 20 s"; exit 1; }
grep -q '^free after release' "$client_out" || { echo "FAIL: the keys were still held after release"; exit 1; }
[ $code -eq 0 ] || { echo "FAIL: client exit $code"; exit 1; }
echo "both key presses arrived as HotKeyPress"
