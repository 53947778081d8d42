#!/usr/bin/env bash
# Shared by the scripts and the shell tests: Wine, builds, a private prefix, a virtual display, bounded waits.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${QUILLET_BUILD:-$ROOT/build}
# The loader starts the server next to it by itself; the scripts use the same one.
export WINE=${WINE:-/usr/lib/wine/wine64}
export WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

started_pids=()

stop_started() {
  if [ -n "${WINEPREFIX:-}" ]; then timeout 20 "$WINESERVER" -k >/dev/null 2>&1 || true; fi
  for pid in "${started_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${started_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  started_pids=()
}

# poll SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds; false
# when it never did within SECONDS.
poll() {
  local tries=$(($1 * 10)); shift
  while [ $tries -gt 0 ]; do
    "$@" && return 0
    tries=$((tries - 1))
    sleep 0.1
  done
  "$@"
}

gone() { ! kill -0 "$1" 2>/dev/null; }

# wait_bounded SECONDS PID: the exit code of PID, or 124 (after killing it)
# when it is still running after SECONDS.
wait_bounded() {
  if ! poll "$1" gone "$2"; then
    kill "$2" 2>/dev/null
    wait "$2" 2>/dev/null
    return 124
  fi
  wait "$2"
}

# wait_line FILE PATTERN SECONDS PID: waits for a line matching PATTERN in
# FILE while PID runs: 0 when it came, 1 after SECONDS, 2 when PID ended first.
wait_line() {
  local tries=$(($3 * 10))
  while ! grep -q "$2" "$1"; do
    if gone "$4"; then
      grep -q "$2" "$1" && return 0
      return 2
    fi
    tries=$((tries - 1))
    [ $tries -gt 0 ] || return 1
    sleep 0.1
  done
}

# x_window NAME SECONDS: the id of the mapped X window named exactly NAME,
# waiting up to SECONDS for it.
x_window() {
  local id tries=$(($2 * 10))
  while :; do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    tries=$((tries - 1))
    [ $tries -gt 0 ] || return 1
    sleep 0.1
  done
}

configure_and_build() {  # dir, [--target T], extra cmake args...
  local dir=$1 target=(); shift
  [ "${1:-}" = --target ] && { target=(--target "$2"); shift 2; }
  mkdir -p "$dir"
  # Configured every time, so changed options apply; it is quick when nothing changed.
  cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >"$dir.configure.log" 2>&1 ||
    { cat "$dir.configure.log"; return 1; }
  cmake --build "$dir" "${target[@]}" -j"${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}" 2>&1 |
    grep -v '^\['
  return "${PIPESTATUS[0]}"
}

build_windows() {
  # The installer carries the 32-bit Tarnkey.dll when build_windows32 made it.
  configure_and_build "$BUILD/win" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DQUILLET_TARNKEY32="$BUILD/win32/hotkey/Tarnkey.dll" "$@"
}

# The 32-bit Tarnkey.dll for 32-bit clients, and nothing else of that tree.
build_windows32() {
  configure_and_build "$BUILD/win32" --target Tarnkey -DCMAKE_BUILD_TYPE=Release \
    -DQUILLET_BENCH=OFF -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-i686.cmake"
}

# A display: the caller's own, or a new Xvfb on a number it picks itself.
start_display() {
  if [ -n "${DISPLAY:-}" ] && [ "${1:-}" != "--private" ]; then return 0; fi
  local number_file xvfb n=
  number_file=$(mktemp)
  # Xvfb writes the number once it accepts connections.
  Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1280x1024x24 3>"$number_file" >/dev/null 2>&1 &
  xvfb=$!
  started_pids+=("$xvfb")
  for _ in $(seq 100); do
    n=$(head -1 "$number_file")
    [ -n "$n" ] && break
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$number_file"
  if [ -z "$n" ]; then
    echo "display: Xvfb did not start within 10 s" >&2
    return 1
  fi
  export DISPLAY=":$n" QUILLET_OWN_DISPLAY=1
  # Ctrl+Alt+F1..F12 must reach the programs, not switch consoles.
  setxkbmap -option srvrkeys:none >/dev/null 2>&1 || true
}

# A Wine prefix made once and kept in the build folder.
prepare_prefix() {  # path
  export WINEPREFIX=$1
  # Written only after wineboot finished, so an interrupted one runs again.
  local made="$WINEPREFIX/.quillet-prefix-made"
  if [ ! -f "$made" ]; then
    echo "wine: creating the prefix $WINEPREFIX (once, about 20 s)"
    mkdir -p "$WINEPREFIX"
    if ! timeout 180 "$WINE" wineboot -i >/dev/null 2>&1 ||
      ! timeout 60 "$WINESERVER" -w >/dev/null 2>&1; then
      echo "wine: wineboot failed or took too long in $WINEPREFIX" >&2
      timeout 20 "$WINESERVER" -k >/dev/null 2>&1
      return 1
    fi
    touch "$made"
  fi
  # A persistent server makes every Wine start in the tests cheap.
  # It puts itself in the background once it listens; stop_started ends it.
  timeout 20 "$WINESERVER" -p >/dev/null 2>&1
  # The first program in a prefix starts its services; let that finish here,
  # not inside the first test's time limit.
  timeout 120 "$WINE" cmd /c exit >/dev/null 2>&1 </dev/null || true
  # No window manager runs on a virtual display of ours, and Wine waits up to
  # two seconds for one whenever a window with a caption is hidden; it does
  # not for windows it keeps from the window manager. A real desktop's
  # window manager gets the windows.
  local unmanaged=no
  grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null && unmanaged=yes
  if [ -n "${QUILLET_OWN_DISPLAY:-}" ] && [ $unmanaged = no ]; then
    window_manager_gets_windows no
  elif [ -z "${QUILLET_OWN_DISPLAY:-}" ] && [ $unmanaged = yes ]; then
    window_manager_gets_windows yes
  fi
  # Nor can anyone answer Wine's crash dialog there: a program that crashes
  # prints where, and ends, instead of hanging until a time limit.
  if [ -n "${QUILLET_OWN_DISPLAY:-}" ] &&
    ! grep -q '^"ShowCrashDialog"=dword:00000000' "$WINEPREFIX/user.reg" 2>/dev/null; then
    timeout 60 "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD \
      /d 0 /f >/dev/null 2>&1 </dev/null
  fi
}

# window_manager_gets_windows yes|no: for the programs started from now on.
# Keyboard focus for a tray icon's menu follows the window manager's rules.
window_manager_gets_windows() {
  local key='HKCU\Software\Wine\X11 Driver'
  if [ "$1" = no ]; then
    timeout 60 "$WINE" reg add "$key" /v Managed /d N /f >/dev/null 2>&1 </dev/null
  else
    timeout 60 "$WINE" reg delete "$key" /v Managed /f >/dev/null 2>&1 </dev/null
  fi
}

# Ends every program of the prefix with its server, and starts the persistent
# server again: without it every later Wine start pays for the server's and
# the services' start-up.
# The first program starts the prefix's services, which live on: started here
# with no output of the caller's, they hold no pipe a test runner waits on.
restart_wineserver() {
  timeout 20 "$WINESERVER" -k >/dev/null 2>&1
  timeout 20 "$WINESERVER" -w >/dev/null 2>&1
  timeout 20 "$WINESERVER" -p </dev/null >/dev/null 2>&1
  timeout 120 "$WINE" cmd /c exit </dev/null >/dev/null 2>&1
}

# For shell tests that start one Windows client printing lines to the file
# $client_out, with the process $client_pid.
client_fail() {  # what went wrong
  [ -n "${client_out:-}" ] && tr -d '\r' <"$client_out"
  echo "FAIL: $*"
  exit 1
}
client_expect() {  # pattern seconds what
  wait_line "$client_out" "$1" "$2" "$client_pid"
  case $? in
    1) client_fail "$3 did not come within $2 s" ;;
    2) client_fail "the client ended before $3 came" ;;
  esac
}
# Whether the X window has the X focus: Wine sees keys only then.
x_focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
