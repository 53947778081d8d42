#!/usr/bin/env bash
# The real tray icon in Wine's own tray window: a left click brings the closed
# window back; the right-click menu, worked with the keyboard, copies a
# filled slot, pastes into an empty one and switches stores; the icon comes
# back when the taskbar is created again; after Exit from the menu it is gone.
set -u
program=$1 waitready=$2 probe=$3
source "$(dirname "$0")/../support/program.sh"
source "$(dirname "$0")/../support/tray.sh"
settings 'StoreNumber=1\r\nAutoSave=1\r\n[Savings1]\r\ntxt(0)=first slot\r\n[Savings3]\r\ntxt(0)=store three\r\n'
on_exit() { tray_cleanup; }
clip_is() { [ "$(p clip)" = "$1" ]; }
slot_is() { [ "$(p slot "$1")" = "$2" ]; }
shown() { "$wine" "$probe" shown >/dev/null 2>&1; }
hidden() { ! shown; }
in_front() { "$wine" "$probe" front >/dev/null 2>&1; }

# The menu shows as an X window of its own, watched from X while it opens (a
# Wine program started then can keep it from opening); keys reach it once the
# program's thread runs the menu's loop. A click the icon missed is repeated.
x_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | sort; }
new_menu_window() {  # taller than the icon's tooltip
  local w HEIGHT=0
  for w in $(comm -13 <(echo "$1") <(x_windows)); do
    eval "$(xdotool getwindowgeometry --shell "$w" | grep HEIGHT)"
    [ "$HEIGHT" -gt 100 ] && return 0
  done
  return 1
}
in_menu() { "$wine" "$probe" menu >/dev/null 2>&1; }
open_menu() {
  local before try
  before=$(x_windows)
  for try in 1 2 3; do
    xdotool mousemove "$icon_x" "$icon_y" click 3
    poll 3 new_menu_window "$before" && break
    [ $try -lt 3 ] || fail "a right click on the icon showed no menu"
  done
  poll 10 in_menu || fail "the menu showed but the program is not in its loop"
}

start_program_in_tray

p close >/dev/null
poll 10 hidden || fail "File > Close did not hide the window"
xdotool mousemove "$icon_x" "$icon_y" click 1
poll 10 shown || fail "a left click on the icon did not bring the window back"
poll 5 in_front || fail "the window came back behind the others"
echo "a left click on the icon brought the closed window back, in front"

# The menu: sixteen stores, a separator, the ten slots, ... The keyboard
# walks it whatever the font; Down from nothing chosen takes the first item.
menu() {  # number of Down presses, then Return
  open_menu
  local keys=() i
  for ((i = 0; i < $1; i++)); do keys+=(Down); done
  xdotool key "${keys[@]}" Return
}
p clear >/dev/null
menu 17  # slot 1
poll 10 clip_is "first slot" || fail "the menu's slot 1 did not copy ($(p clip))"
menu 18  # slot 2, empty: takes the clipboard
poll 10 slot_is 1 "first slot" || fail "the menu's empty slot 2 did not paste ($(p slot 1))"
echo "the menu copied a filled slot and pasted into an empty one"
menu 4   # store 3
poll 10 slot_is 0 "store three" || fail "the menu's store 3 did not switch ($(p slot 0))"
echo "the menu switched to store 3"

p untray >/dev/null || fail "could not remove the icon as Explorer's restart does"
tray_gone() { ! tray_shows; }
poll 10 tray_gone || fail "the icon did not go"
p taskbar >/dev/null
poll 10 tray_shows || fail "the icon did not come back with TaskbarCreated"
echo "the icon came back with TaskbarCreated"

open_menu
xdotool key Up Return  # Up from nothing chosen takes the last item, Exit
wait_bounded 20 "$app" >/dev/null || fail "Exit from the tray menu did not end the program"
app=
poll 10 tray_gone || fail "the icon stayed after Exit"
echo "Exit from the menu ended the program and removed the icon"
exit 0
