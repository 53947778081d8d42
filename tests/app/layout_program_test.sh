#!/usr/bin/env bash
# The main window's layout in the real program: slot 1's controls inside the
# window in their order, reversed when mirrored with the same sizes, and at
# 144 DPI half as large again as at 96; the Paste button's tip shows under
# the real mouse; a real drag on the background moves the window; a
# double-click toggles the width.
set -u
program=$1 waitready=$2 probe=$3
source "$(dirname "$0")/../support/program.sh"
desktop='HKCU\Control Panel\Desktop'
on_exit() {
  # The prefix is shared with the other tests: its DPI goes back to the default.
  "$wine" reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1
  restart_wineserver
}
start() {
  settings 'StoreNumber=1\r\nAutoSave=1\r\nFormWidth=9000\r\nFormLeft=1500\r\nFormTop=1500\r\n'
  start_program
}
controls=(title paste text number copy)  # left to right
# Reads the client area and slot 1's controls into L: name -> "x y w h".
declare -A L
layout_read() {
  local name a b c d
  L=()
  while read -r name a b c d _; do L[$name]="$a $b $c $d"; done < <(p layout | sed 's/ at .*//')
  [ -n "${L[client]:-}" ]
}
read_layout() { poll 10 layout_read || fail "the probe found no layout"; }
# Each control inside the client area, left to right in the order given.
expect_order() {  # what, names...
  local what=$1 last=-1 name x y w h cw
  shift
  read -r cw _ <<<"${L[client]}"
  for name in "$@"; do
    read -r x y w h <<<"${L[$name]}"
    [ "$x" -ge 0 ] && [ $((x + w)) -le "$cw" ] || fail "$what: $name (${L[$name]}) is outside the client area ($cw wide)"
    [ "$x" -gt "$last" ] || fail "$what: $name (${L[$name]}) is not right of the control before it"
    last=$x
  done
  echo "$what: every control inside, in its order"
}
window_geometry() { "$wine" "$waitready" 5000 | tr -d '\r'; }

start
read_layout
declare -A normal
for name in client "${controls[@]}"; do normal[$name]=${L[$name]}; done
expect_order "96 DPI, normal" "${controls[@]}"
"$wine" "$probe" mirror >/dev/null || fail "could not choose Mirror"
read_layout
expect_order "96 DPI, mirrored" copy number text paste title
for name in "${controls[@]}"; do
  read -r _ y w h <<<"${L[$name]}"
  read -r _ ny nw nh <<<"${normal[$name]}"
  [ "$y $w $h" = "$ny $nw $nh" ] || fail "mirrored, $name changed its height or size: ${L[$name]} against ${normal[$name]}"
done
"$wine" "$probe" mirror >/dev/null

# The tips hear of the mouse through the message loop: resting on slot 1's
# Paste button shows its tip.
read -r _ _ _ _ x y < <(p layout | head -1)
read -r px py pw ph <<<"${normal[paste]}"
# The pointer rests there; a move once a second tells the tip again in
# case the first one came before the program looked.
step=0
tip() {
  [ $((step % 10)) -eq 0 ] && xdotool mousemove --sync $((x + px + pw / 2 + step / 10 % 2)) $((y + py + ph / 2))
  step=$((step + 1))
  "$wine" "$probe" tip >/dev/null 2>&1
}
poll 10 tip || fail "no tip over the Paste button"
echo "the Paste button's tip shows"

# Moving: a drag on the background above the store strip, right of it.
before=$(window_geometry)
read -r bx by bw _ <<<"$before"
xdotool mousemove --sync $((x + 260)) $((y + 8)) mousedown 1
moving() { "$wine" "$probe" dragging >/dev/null 2>&1; }
poll 10 moving || fail "a press on the background did not start a move"
xdotool mousemove --sync $((x + 290)) $((y + 40)) mousemove --sync $((x + 310)) $((y + 68)) mouseup 1
moved() { read -r ax ay _ < <(window_geometry); [ $((ax - bx)) -eq 50 ] && [ $((ay - by)) -eq 60 ]; }
poll 10 moved || fail "the background drag moved the window from $before to $(window_geometry)"
still() { ! moving; }
poll 10 still || fail "the move did not end with the release"
echo "a background drag moved the window by 50, 60"

# The width toggle: narrower and back to the stored width, clicked between
# the strip and the maker's name at either width.
read -r _ _ _ _ x y < <(p layout | head -1)
narrower() { read -r _ _ w _ < <(window_geometry); [ "$w" -lt "$bw" ]; }
width_back() { read -r _ _ w _ < <(window_geometry); [ "$w" = "$bw" ]; }
xdotool mousemove --sync $((x + 240)) $((y + 8)) click --repeat 2 --delay 80 1
poll 10 narrower || fail "a double-click left the width at $w"
narrow=$w
xdotool click --repeat 2 --delay 80 1
poll 10 width_back || fail "the second double-click made the width $w, not $bw"
echo "double-clicks toggled the width $bw -> $narrow -> $bw"
exit_program

restart_wineserver
"$wine" reg add "$desktop" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1 ||
  fail "could not set 144 DPI"
restart_wineserver
start
read_layout
for name in client "${controls[@]}"; do
  read -r -a at96 <<<"${normal[$name]}"
  read -r -a at144 <<<"${L[$name]}"
  [ "$name" = client ] && at96=("${at96[@]:0:2}") && at144=("${at144[@]:0:2}")
  for i in "${!at96[@]}"; do
    d=$((2 * at144[i] - 3 * at96[i]))
    [ "${d#-}" -le 4 ] ||
      fail "144 DPI: $name is ${L[$name]}, not half as large again as ${normal[$name]}"
  done
done
echo "144 DPI: everything half as large again as at 96"
exit 0
