# Sourced by the shell tests of the real program, which set `program`,
# `waitready` and `probe` first: the program installed where a user has it,
# started in its folder, looked into by the probe and ended by its own Exit;
# the settings file and the program go when the test ends, and the test's
# own on_exit, when it has one, runs before that.
# shellcheck shell=bash
source "$(cd "$(dirname "$0")" && pwd)/../../scripts/lib.sh"
wine="$ROOT/scripts/wine-exec"
: "${WINEPREFIX:?}"
drive_c="$WINEPREFIX/drive_c"
folder="$drive_c/Program Files/Quillet Pro"
ini="$drive_c/quilbdx.ini"
mkdir -p "$folder"
cp "$program" "$folder/quilletpro.exe"
app=

fail() { echo "FAIL: $*"; exit 1; }
p() { "$wine" "$probe" "$@" 2>/dev/null | tr -d '\r'; }
# A settings file that asks nothing at start, with these lines after that.
settings() { printf '[Settings]\r\naskImport=1\r\n%b' "$1" >"$ini"; }

start_program() {
  (cd "$folder" && exec "$wine" 'C:\Program Files\Quillet Pro\quilletpro.exe') >/dev/null 2>&1 &
  app=$!
  QUILLET_WINE_TIMEOUT=40 "$wine" "$waitready" 30000 >/dev/null
  local ready=$?
  gone "$app" && fail "the program ended during its start-up"
  [ $ready -eq 0 ] || fail "the program did not finish its start-up (wait_ready exit $ready)"
}

exit_program() {
  "$wine" "$probe" exit >/dev/null 2>&1
  local pid=$app
  app=
  wait_bounded 20 "$pid" >/dev/null || fail "the program did not end after its Exit command"
}

program_cleanup() {
  if [ -n "$app" ]; then
    "$wine" "$probe" exit >/dev/null 2>&1
    wait_bounded 10 "$app" >/dev/null
  fi
  if declare -F on_exit >/dev/null; then on_exit; fi
  rm -f "$ini"
}
trap program_cleanup EXIT

# A real drag with the mouse from FROM_X FROM_Y into the drop client that
# writes OUT, at TO_X TO_Y: the button goes down once the program has the
# pointer, and up once the drag is over the client's window. Wine's drag loop
# reads the pointer where it is when it looks, so the pointer keeps moving a
# little until the state comes.
drag_mouse() {  # from_x from_y to_x to_y out
  local fx=$1 fy=$2 tx=$3 ty=$4 out=$5 step=0
  x_window 'Quillet Pro' 10 >/dev/null || fail "the program's window is not on the display"
  xdotool mousemove --sync "$fx" "$fy" mousedown 1
  holds() { "$wine" "$probe" dragging >/dev/null 2>&1; }
  poll 10 holds || fail "the program did not take the mouse at the press"
  over() {
    step=$((step + 1))
    xdotool mousemove --sync $((tx + step % 3)) "$ty"
    grep -q '^over' "$out"
  }
  poll 20 over || fail "the drag did not come over the drop window"
  xdotool mouseup 1
}
