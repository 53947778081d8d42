#!/usr/bin/env bash
# A real mouse drag from a Copy button of the running program carries the slot's text into another program's window.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib.sh"
wine="$ROOT/scripts/wine-exec"
program=$1
client=$2
wait_ready=$3
probe=$4
drive_c="$WINEPREFIX/drive_c"
install="$drive_c/Program Files/Quillet Pro"
mkdir -p "$install"
cp "$program" "$install/quilletpro.exe"
printf '[Settings]\r\naskImport=1\r\nStoreNumber=1\r\n[Savings1]\r\ntxt(0)=dragged across\r\n' \
  >"$drive_c/quilbdx.ini"
out=$(mktemp)
app=
client_pid=
cleanup() {
  [ -n "$client_pid" ] && kill "$client_pid" 2>/dev/null
  [ -n "$app" ] && { "$wine" "$probe" exit >/dev/null 2>&1; wait_bounded 10 "$app" >/dev/null; }
  rm -f "$out" "$drive_c/quilbdx.ini"
}
trap cleanup EXIT
fail() {
  tr -d '\r' <"$out"
  echo "FAIL: $*"
  exit 1
}

"$wine" 'C:\Program Files\Quillet Pro\quilletpro.exe' >/dev/null 2>&1 &
app=$!
QUILLET_WINE_TIMEOUT=40 "$wine" "$wait_ready" 30000 >/dev/null
ready=$?
gone "$app" && fail "the program ended during its start-up"
[ $ready -eq 0 ] || fail "the program did not finish its start-up within 30 s (wait_ready exit $ready)"

"$wine" "$client" >"$out" 2>&1 &
client_pid=$!
wait_line "$out" '^ready' 40 "$client_pid"
case $? in
  1) fail "the drop window did not get ready within 40 s" ;;
  2) fail "the drop client ended before it was ready" ;;
esac
read -r _ tx ty < <(grep '^ready' "$out" | tr -d '\r')
# Slot 1's Copy button.
read -r x y w h < <("$wine" "$probe" where 2140 2>/dev/null | tr -d '\r') ||
  fail "the program has no Copy button"
fx=$((x + w / 2)) fy=$((y + h / 2))
x_window 'Quillet Pro' 10 >/dev/null || fail "the program's window is not on the display"
x_window 'Quillet drop test' 10 >/dev/null || fail "the drop window is not on the display"

# Wine's drag loop reads the pointer where it is now rather than each move,
# and nothing shows from outside when the program has seen a move, so the
# gesture is paced like a hand's.
xdotool mousemove "$fx" "$fy"
sleep 0.3
xdotool mousedown 1
# Past the drag threshold first, then over to the other window.
for step in 1 2 3 4 5 6 7 8; do
  xdotool mousemove $((fx + (tx - fx) * step / 8)) $((fy + (ty - fy) * step / 8))
  sleep 0.15
done
sleep 0.3
xdotool mouseup 1

# The client gives up by itself after a minute without a drop.
wait_bounded 70 "$client_pid"
code=$?
client_pid=
[ $code -ne 124 ] || fail "the drop client did not finish within 70 s"
tr -d '\r' <"$out" | grep -q '^dropped dragged across$' || fail "the slot's text did not arrive"
[ $code -eq 0 ] || fail "client exit $code"
"$wine" "$probe" exit >/dev/null 2>&1
wait_bounded 20 "$app" >/dev/null
code=$?
app=
[ $code -ne 124 ] || fail "the program did not close within 20 s of its Exit command"
tr -d '\r' <"$out"
echo "the drag carried the slot's text into the other program"
