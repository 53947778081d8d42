#!/usr/bin/env bash
# A real mouse drag from a Copy button of the running program carries the slot's text into another program's window.
set -u
program=$1 client=$2 waitready=$3 probe=$4
source "$(dirname "$0")/../support/program.sh"
out=$(mktemp)
client_pid=
on_exit() {
  [ -n "$client_pid" ] && kill "$client_pid" 2>/dev/null
  rm -f "$out"
}

settings 'StoreNumber=1\r\n[Savings1]\r\ntxt(0)=dragged across\r\n'
start_program
"$wine" "$client" >"$out" 2>&1 &
client_pid=$!
wait_line "$out" '^ready' 40 "$client_pid" || fail "the drop window did not get ready"
read -r _ tx ty < <(grep '^ready' "$out" | tr -d '\r')
read -r x y w h < <(p where 2140) || fail "the program has no Copy button"  # slot 1's
drag_mouse $((x + w / 2)) $((y + h / 2)) "$tx" "$ty" "$out"

wait_bounded 70 "$client_pid"
code=$?
client_pid=
tr -d '\r' <"$out"
[ $code -ne 124 ] || fail "the drop client did not finish within 70 s"
tr -d '\r' <"$out" | grep -q '^dropped dragged across$' || fail "the slot's text did not arrive"
[ $code -eq 0 ] || fail "client exit $code"
exit_program
echo "the drag carried the slot's text into the other program"
