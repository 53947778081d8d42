#!/usr/bin/env bash
# The real program with Hotkeys on and Tarnkey.dll beside it but not
# registered: Ctrl+Alt+F3 pressed while another program has the focus copies
# slot 3, Ctrl+Alt+0 pastes into slot 10, though Ctrl+Alt+F2 is held by
# another process; nothing happens while the Pictures store shows; after Exit
# all twenty combinations are free. On a German layout the digits AltGr types
# with are left to the layout.
set -u
program=$1 tarnkey=$2 waitready=$3 probe=$4 focus=$5
source "$(dirname "$0")/../support/program.sh"
cp "$tarnkey" "$folder/"
settings 'StoreNumber=1\r\nHotkeys=1\r\nAutoSave=1\r\n[Savings1]\r\ntxt(2)=hot three\r\n'
other= holder=
layout=$(setxkbmap -query 2>/dev/null | awk '/^layout:/ {print $2}')
on_exit() {
  [ -n "$other" ] && kill "$other" 2>/dev/null
  [ -n "$holder" ] && kill "$holder" 2>/dev/null
  rm -f "$out" "$held"
  # The display is shared with the other tests.
  setxkbmap "${layout:-us}" -option "" -option srvrkeys:none >/dev/null 2>&1
}
taken() { p taken; }
out=$(mktemp) held=$(mktemp)

"$wine" regsvr32 /u /s 'C:\Program Files\Quillet Pro\Tarnkey.dll' >/dev/null 2>&1 ||
  fail "could not unregister Tarnkey.dll"
"$wine" "$probe" hold F2 >"$held" 2>/dev/null &
holder=$!
wait_line "$held" '^ready' 20 "$holder" || fail "could not hold Ctrl+Alt+F2"
start_program
"$wine" "$focus" >"$out" 2>/dev/null &
other=$!
wait_line "$out" '^ready' 20 "$other" || fail "the other program did not start"
win=$(x_window bare 10) || fail "the other program's window is not on the display"
focused() { x_focused "$win"; }
xdotool windowfocus "$win" 2>/dev/null
poll 5 focused || fail "the other program did not get the X focus"

clip() { p clip; }
slot() { p slot "$1"; }
clip_is() { [ "$(clip)" = "$1" ]; }
slot_is() { [ "$(slot "$1")" = "$2" ]; }
xdotool key ctrl+alt+F3
poll 10 clip_is "hot three" || fail "Ctrl+Alt+F3 did not copy slot 3 (clipboard: $(clip))"
xdotool key ctrl+alt+0
poll 10 slot_is 9 "hot three" || fail "Ctrl+Alt+0 did not paste into slot 10 ($(slot 9))"
echo "Ctrl+Alt+F3 copied slot 3, Ctrl+Alt+0 pasted into slot 10"

# In the Pictures store the keys do nothing. Ctrl+Alt+F2 after Ctrl+Alt+F3
# reaches its holder only once the F3 press is in the program's queue, and a
# store choice posted after that is handled after it: when store 1 shows
# again, the press has had its chance.
"$wine" "$probe" pictures >/dev/null || fail "could not show the Pictures store"
"$wine" "$probe" clear >/dev/null
xdotool windowfocus "$win" 2>/dev/null
poll 5 focused || fail "the other program did not get the X focus back"
xdotool key ctrl+alt+F3 ctrl+alt+F2
wait_line "$held" '^pressed' 20 "$holder" || fail "Ctrl+Alt+F2 did not reach its holder"
"$wine" "$probe" store 1 >/dev/null || fail "could not choose store 1"
text_shows() { "$wine" "$probe" shown 2120 >/dev/null 2>&1; }  # slot 1's box
poll 10 text_shows || fail "store 1 did not come back"
clip_is "" || fail "Ctrl+Alt+F3 copied in the Pictures store ($(clip))"
echo "nothing happened in the Pictures store"

kill "$other" "$holder" 2>/dev/null
wait "$other" "$holder" 2>/dev/null
other= holder=
exit_program
[ "$(taken)" = "taken:" ] || fail "after Exit some combinations are still held: $(taken)"
echo "after Exit all twenty combinations are free"

# Wine reports AltGr only for ASCII characters, so German 2 and 3 may or may
# not be left free; 7, 8, 9 and 0 type { [ ] }.
setxkbmap de || fail "no German layout on this display"
start_program
german=" $(taken) "
for key in F1 F2 F3 F4 F5 F6 F7 F8 F9 F10 1 4 5 6; do
  case $german in *" $key "*) ;; *) fail "German layout: Ctrl+Alt+$key is not bound ($german)" ;; esac
done
for key in 7 8 9 0; do
  case $german in *" $key "*) fail "German layout: Ctrl+Alt+$key is taken from AltGr ($german)" ;; esac
done
exit_program
echo "on a German layout the program left AltGr+7, 8, 9, 0 to the layout"
exit 0
