#!/usr/bin/env bash
# The AltGr check reads the real keyboard layout: none of the digits types a
# character with Ctrl+Alt on a US keyboard; on a German one 2, 3, 7, 8, 9, 0 do
# (Wine reports AltGr only for ASCII characters, so 2 and 3 may be missing).
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib.sh"
wine="$ROOT/scripts/wine-exec"
probe=$1
saved=$(setxkbmap -query 2>/dev/null | awk '/^layout:/ {print $2}')
# The display is shared with the other tests: its layout goes back as it was.
trap 'setxkbmap "${saved:-us}" -option "" -option srvrkeys:none >/dev/null 2>&1' EXIT

typing_with() {  # layout
  setxkbmap "$1" || { echo "FAIL: no $1 layout on this display"; exit 1; }
  "$wine" "$probe" 2>/dev/null | tr -d '\r' | grep '^typing:'
}

status=0
us=$(typing_with us)
echo "us: $us"
[ "$us" = "typing:" ] || { echo "FAIL: digits reported as typing on a US layout"; status=1; }
de=$(typing_with de)
echo "de: $de"
for digit in 0 7 8 9; do
  case " ${de#typing:} " in *" $digit "*) ;; *) echo "FAIL: German AltGr+$digit not found"; status=1 ;; esac
done
for digit in ${de#typing:}; do
  case $digit in 0|2|3|7|8|9) ;; *) echo "FAIL: German AltGr+$digit types nothing"; status=1 ;; esac
done
exit $status
