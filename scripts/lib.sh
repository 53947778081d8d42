# Shared by scripts/test, scripts/run and scripts/bench: builds, a private
# Wine prefix and a virtual display, and stopping what was started.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${QUILLET_BUILD:-$ROOT/build}
WINE64=/usr/lib/wine/wine64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

started_pids=()

stop_started() {
  if [ -n "${WINEPREFIX:-}" ]; then timeout 20 wineserver -k >/dev/null 2>&1 || true; fi
  for pid in "${started_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${started_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  started_pids=()
}

configure_and_build() {  # dir, extra cmake args...
  local dir=$1; shift
  mkdir -p "$(dirname "$dir")"
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >"$dir.configure.log" 2>&1 ||
      { cat "$dir.configure.log"; return 1; }
  fi
  cmake --build "$dir" -j"$(nproc)" 2>&1 | grep -v '^\[' || true
  [ "${PIPESTATUS[0]}" -eq 0 ]
}

build_windows() {
  configure_and_build "$BUILD/win" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" "$@"
}

# A display: the caller's own, or a new Xvfb on a free number.
start_display() {
  if [ -n "${DISPLAY:-}" ] && [ "${1:-}" != "--private" ]; then return 0; fi
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -noreset -nolisten tcp -screen 0 1280x1024x24 >/dev/null 2>&1 &
  started_pids+=($!)
  export DISPLAY=":$n"
  for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
  # Ctrl+Alt+F1..F12 must reach the programs, not switch consoles.
  setxkbmap -option srvrkeys:none >/dev/null 2>&1 || true
}

# A Wine prefix made once and kept in the build folder.
prepare_prefix() {  # path
  export WINEPREFIX=$1
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine: creating the prefix $WINEPREFIX (once, about 20 s)"
    mkdir -p "$WINEPREFIX"
    timeout 180 "$WINE64" wineboot -i >/dev/null 2>&1 || true
    timeout 60 wineserver -w >/dev/null 2>&1 || true
  fi
  # A persistent server makes every Wine start in the tests cheap.
  timeout 20 wineserver -p >/dev/null 2>&1 &
  started_pids+=($!)
  # The first program in a prefix starts its services; let that finish here,
  # not inside the first test's time limit.
  timeout 120 "$WINE64" cmd /c exit >/dev/null 2>&1 </dev/null || true
}
