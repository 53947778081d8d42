#!/usr/bin/env bash
# The real program with "Paste into the Active Window" on: a filled slot
# chosen from the tray menu, opened while another program's text box had the
# focus, is pasted into that box once, though the menu took the foreground.
set -u
program=$1 waitready=$2 probe=$3 textbox=$4
source "$(dirname "$0")/../support/program.sh"
source "$(dirname "$0")/../support/text_box.sh"
source "$(dirname "$0")/../support/tray.sh"
settings 'StoreNumber=1\r\nAutoSave=1\r\nPasteAtOnce=1\r\n[Savings1]\r\ntxt(0)=from the tray\r\n'
on_exit() {
  stop_text_box
  tray_cleanup
}
clip_is() { [ "$(p clip)" = "$1" ]; }
in_menu() { "$wine" "$probe" menu >/dev/null 2>&1; }

start_program_in_tray

start_text_box

p clear >/dev/null
xdotool mousemove "$icon_x" "$icon_y" click 3
poll 10 in_menu || fail "a right click on the icon showed no menu"
# The keyboard stays with the text box, as when the user clicks the item;
# sixteen stores and a separator come before slot 1.
p choose 17 >/dev/null || fail "could not choose in the menu"
poll 10 clip_is "from the tray" || fail "the menu's slot 1 did not copy ($(p clip))"
poll 10 box_is "from the tray" || fail "slot 1 was not pasted into the box ($(box))"
# Once: a key typed now lands right behind the pasted text.
xdotool key x
poll 10 box_is "from the trayx" || fail "the box did not end in one paste and the key ($(box))"
echo "slot 1 chosen from the tray menu was pasted into the window in front before"
exit 0
