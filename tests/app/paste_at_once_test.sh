#!/usr/bin/env bash
# The real program with Hotkeys and "Paste into the Active Window" on:
# Ctrl+Alt+F3 pressed while another program's text box has the focus copies
# slot 3 and pastes it into that box, once, also when held. Switched off
# from the Options menu (and written at once), the same press only copies.
set -u
program=$1 tarnkey=$2 waitready=$3 probe=$4 textbox=$5
source "$(dirname "$0")/../support/program.sh"
source "$(dirname "$0")/../support/text_box.sh"
cp "$tarnkey" "$folder/"
settings 'StoreNumber=1\r\nHotkeys=1\r\nPasteAtOnce=1\r\nAutoSave=1\r\n[Savings1]\r\ntxt(2)=pasted three\r\n'
# Keys held by a step that failed would hold for the tests after this one.
on_exit() { xdotool keyup F3 alt ctrl 2>/dev/null; stop_text_box; }
clip_is() { [ "$(p clip)" = "$1" ]; }
# The file may be written in UTF-16.
setting() { tr -d '\000\r' <"$ini" | grep "^$1=" | cut -d= -f2; }

start_program
start_text_box

p clear >/dev/null
xdotool key ctrl+alt+F3
poll 10 box_is "pasted three" || fail "Ctrl+Alt+F3 did not paste slot 3 into the box ($(box))"
clip_is "pasted three" || fail "the clipboard does not hold slot 3 ($(p clip))"
# Once: a key typed now lands right behind the pasted text.
xdotool key x
poll 10 box_is "pasted threex" || fail "the box did not end in one paste and the key ($(box))"
echo "Ctrl+Alt+F3 copied slot 3 and pasted it into the other program's box once"

# F3 again and again while Ctrl and Alt stay down, as a held hotkey repeats:
# the presses queue while the first one waits for the release, and the slot
# is pasted once.
"$wine" "$textbox" --set "" || fail "could not empty the box"
p clear >/dev/null
focus_text_box
xdotool keydown ctrl+alt key F3
poll 10 clip_is "pasted three" || fail "the first Ctrl+Alt+F3 did not copy ($(p clip))"
xdotool key F3 F3 F3 F3 keyup alt ctrl
poll 10 box_is "pasted three" || fail "after the release the box holds ($(box)), not one paste"
xdotool key x
poll 10 box_is "pasted threex" || fail "a held Ctrl+Alt+F3 pasted more than once ($(box))"
echo "a held Ctrl+Alt+F3 pasted once"

p pasteatonce >/dev/null || fail "could not choose the menu item"
[ "$(setting PasteAtOnce)" = 0 ] || fail "switching off did not write PasteAtOnce=0 ($(setting PasteAtOnce))"
"$wine" "$textbox" --set "" || fail "could not empty the box"
p clear >/dev/null
focus_text_box
xdotool key ctrl+alt+F3
poll 10 clip_is "pasted three" || fail "Ctrl+Alt+F3 did not copy with the option off ($(p clip))"
# The program has finished with the press once its one thread answers; a
# paste it had sent would come before the key typed after that.
p slot 2 >/dev/null
xdotool key x
poll 10 box_is "x" || fail "with the option off the box got more than the key ($(box))"
echo "switched off from the menu, Ctrl+Alt+F3 only copied"
exit 0
