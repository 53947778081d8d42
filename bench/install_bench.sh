#!/usr/bin/env bash
# The installer against doing its work by hand: the time of a silent install
# against copying the same files and running regsvr32 on both Tarnkey.dll
# builds, each in a fresh copy of one prefix; and its size against a zip of
# the files it installs. Prints "install: ..." and "installer_size: ...".
# Usage: install_bench.sh   (after scripts/bench built both trees; needs DISPLAY)
set -uo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
setup=$(ls "$BUILD"/win/installer/QuilletPro-Setup-*.exe 2>/dev/null | head -1)
program=$BUILD/win/app/quilletpro.exe
tarnkey64=$BUILD/win/hotkey/Tarnkey.dll
tarnkey32=$BUILD/win32/hotkey/Tarnkey.dll
if [ -z "$setup" ]; then
  echo "install: no installer was built"
  exit 0
fi
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"

pristine="$BUILD/wineprefix-installer-pristine"
if [ ! -f "$pristine/.quillet-prefix-made" ]; then
  (prepare_prefix "$pristine" >/dev/null && timeout 20 "$WINESERVER" -k) || exit 1
fi
prefix="$BUILD/wineprefix-install-bench"
now_ms() { echo $(($(date +%s%N) / 1000000)); }
fresh() {
  timeout 20 "$WINESERVER" -k >/dev/null 2>&1
  rm -rf "$prefix" && mkdir -p "$prefix" && cp -a "$pristine/." "$prefix/"
  export WINEPREFIX=$prefix
  timeout 20 "$WINESERVER" -p >/dev/null 2>&1
  timeout 60 "$WINE" cmd /c exit >/dev/null 2>&1
}
w() { timeout 120 "$WINE" "$@" >/dev/null 2>&1; }

by_setup() {
  w "Z:${setup//\//\\}" /S
}
by_hand() {
  local folder="$prefix/drive_c/Program Files/Quillet Pro"
  mkdir -p "$folder/x86"
  cp "$program" "$tarnkey64" "$folder/"
  cp "$tarnkey32" "$folder/x86/"
  w 'C:\windows\system32\regsvr32.exe' /s 'C:\Program Files\Quillet Pro\Tarnkey.dll'
  # Fails at once where the kernel runs no 32-bit programs, as in the setup.
  w 'C:\windows\syswow64\regsvr32.exe' /s 'C:\Program Files\Quillet Pro\x86\Tarnkey.dll'
}
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
ours=() anchor=()
for _ in 1 2 3; do
  fresh; s=$(now_ms); by_setup; ours+=($(($(now_ms) - s)))
  fresh; s=$(now_ms); by_hand; anchor+=($(($(now_ms) - s)))
done
timeout 20 "$WINESERVER" -k >/dev/null 2>&1
rm -rf "$prefix"
o=$(printf '%s\n' "${ours[@]}" | median)
a=$(printf '%s\n' "${anchor[@]}" | median)
awk -v o="$o" -v a="$a" 'BEGIN { printf "install: ours=%d ms anchor=%d ms ratio=%.3f\n", o, a, o / a }'

zipdir=$(mktemp -d)
mkdir -p "$zipdir/x86"
cp "$program" "$tarnkey64" "$zipdir/"
cp "$tarnkey32" "$zipdir/x86/"
(cd "$zipdir" && zip -q -9 -r files.zip quilletpro.exe Tarnkey.dll x86)
o=$(stat -c %s "$setup")
a=$(stat -c %s "$zipdir/files.zip")
rm -rf "$zipdir"
awk -v o="$o" -v a="$a" \
  'BEGIN { printf "installer_size: ours=%d kB anchor=%d kB ratio=%.3f\n", o / 1024, a / 1024, o / a }'
