# Sourced after program.sh by the shell tests of the tray icon: the program
# started with Wine's tray window and the menus as a window manager would
# have them (the other tests run without), and where its icon is.
# shellcheck shell=bash
tray_shows() { xdotool search --onlyvisible --name 'Wine System Tray' >/dev/null 2>&1; }

# Sets icon_x and icon_y to a point on the program's icon.
start_program_in_tray() {
  local tray X Y WIDTH HEIGHT SCREEN WINDOW
  window_manager_gets_windows yes
  restart_wineserver
  start_program
  poll 10 tray_shows || fail "no tray window with the program's icon"
  tray=$(xdotool search --onlyvisible --name 'Wine System Tray' | head -1)
  eval "$(xdotool getwindowgeometry --shell "$tray")"
  icon_x=$((X + 8)) icon_y=$((Y + HEIGHT / 2))
}

# For the test's on_exit: the prefix as the other tests run it again.
tray_cleanup() {
  if [ -n "${QUILLET_OWN_DISPLAY:-}" ]; then
    window_manager_gets_windows no
    restart_wineserver
  fi
}
