#!/usr/bin/env bash
# A real mouse drag from a Copy button of the running program into another
# program's window: the slot's text arrives there through OLE drag and drop.
set -u
here=$(cd "$(dirname "$0")" && pwd)
wine="$here/../../scripts/wine-exec"
program=$1
client=$2
drive_c="$WINEPREFIX/drive_c"
install="$drive_c/Program Files/Quillet Pro"
mkdir -p "$install"
cp "$program" "$install/quilletpro.exe"
printf '[Settings]\r\naskImport=1\r\nStoreNumber=1\r\n[Savings1]\r\ntxt(0)=dragged across\r\n' \
  >"$drive_c/quilbdx.ini"
out=$(mktemp)
app=
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null
  rm -f "$out" "$drive_c/quilbdx.ini"
}
trap cleanup EXIT

"$wine" 'C:\Program Files\Quillet Pro\quilletpro.exe' >/dev/null 2>&1 &
app=$!
"$wine" "$client" >"$out" 2>&1 &
pid=$!
for _ in $(seq 300); do grep -q '^ready' "$out" && break; sleep 0.1; done
grep -q '^ready' "$out" || { cat "$out"; echo "FAIL: the drop window did not get ready"; exit 1; }
read -r _ fx fy tx ty < <(grep '^ready' "$out" | tr -d '\r')
sleep 0.5
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
wait $pid
code=$?
wait $app
app=
tr -d '\r' <"$out"
tr -d '\r' <"$out" | grep -q '^dropped dragged across$' || { echo "FAIL: the slot's text did not arrive"; exit 1; }
[ $code -eq 0 ] || { echo "FAIL: client exit $code"; exit 1; }
echo "the drag carried the slot's text into the other program"
