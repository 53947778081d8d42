#!/usr/bin/env bash
# The real program with "Paste into the Active Window" on: a filled slot
# chosen from the tray menu, opened while another program's text box had the
# focus, is pasted into that box once, though the menu took the foreground.
set -u
program=$1 waitready=$2 probe=$3 textbox=$4
source "$(dirname "$0")/../support/program.sh"
source "$(dirname "$0")/../support/text_box.sh"
settings 'StoreNumber=1\r\nAutoSave=1\r\nPasteAtOnce=1\r\n[Savings1]\r\ntxt(0)=from the tray\r\n'
on_exit() {
  stop_text_box
  if [ -n "${QUILLET_OWN_DISPLAY:-}" ]; then
    window_manager_gets_windows no
    restart_wineserver
  fi
}
clip_is() { [ "$(p clip)" = "$1" ]; }
tray_shows() { xdotool search --onlyvisible --name 'Wine System Tray' >/dev/null 2>&1; }
in_menu() { "$wine" "$probe" menu >/dev/null 2>&1; }

# The tray window and the menu as a window manager would have them (the
# other tests run without).
window_manager_gets_windows yes
restart_wineserver
start_program
poll 10 tray_shows || fail "no tray window with the program's icon"
tray=$(xdotool search --onlyvisible --name 'Wine System Tray' | head -1)
eval "$(xdotool getwindowgeometry --shell "$tray")"
icon_x=$((X + 8)) icon_y=$((Y + HEIGHT / 2))

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
