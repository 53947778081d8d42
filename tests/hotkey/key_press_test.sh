#!/usr/bin/env bash
# Real key presses on the virtual display reach the HotKey component's
# registrations as HotKeyPress events: Ctrl+Alt+1 and Ctrl+Alt+F1.
set -u
here=$(cd "$(dirname "$0")" && pwd)
wine="$here/../../scripts/wine-exec"
client=$1
dll=$2
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$wine" "$client" "Z:${dll//\//\\}" >"$out" 2>&1 &
pid=$!
for _ in $(seq 200); do grep -q '^ready' "$out" && break; sleep 0.1; done
grep -q '^ready' "$out" || { cat "$out"; echo "FAIL: the client did not get ready"; exit 1; }
win=$(xdotool search --sync --name '^Tarnkey press test$' | head -1)
xdotool windowfocus --sync "$win" 2>/dev/null || true
sleep 0.3
xdotool key ctrl+alt+1
sleep 0.3
xdotool key ctrl+alt+F1
wait $pid
code=$?
tr -d '\r' <"$out"
grep -q '^pressed 0' "$out" || { echo "FAIL: Ctrl+Alt+1 did not arrive"; exit 1; }
grep -q '^pressed 1' "$out" || { echo "FAIL: Ctrl+Alt+F1 did not arrive"; exit 1; }
[ $code -eq 0 ] || { echo "FAIL: client exit $code"; exit 1; }
echo "both key presses arrived as HotKeyPress"
