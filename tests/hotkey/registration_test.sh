#!/usr/bin/env bash
# regsvr32 registers Tarnkey.dll, the script clients use it, and regsvr32 /u removes every key again (twice is harmless).
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib.sh"
wine="$ROOT/scripts/wine-exec"
# Each program gets a minute, so one that hangs fails the test by name.
export QUILLET_WINE_TIMEOUT=60
dll=$1
fail() { echo "FAIL: $*"; exit 1; }
clsid='HKCR\CLSID\{F546DB2F-84DF-4E6D-83EC-75827B8F0704}'
winpath() { echo "Z:${1//\//\\}"; }

"$wine" regsvr32 /s "$(winpath "$dll")" || fail "regsvr32 did not register the library"
out=$("$wine" reg query "$clsid\\InprocServer32" 2>&1)
echo "$out" | grep -qi 'Tarnkey.dll' || fail "no InprocServer32 path: $out"
echo "$out" | grep -q 'ThreadingModel.*Apartment' || fail "no Apartment threading model: $out"
# The class, its name and the type library: the script clients below find
# them or fail.

status=0
for script in client.vbs client.js; do
  out=$("$wine" cscript //nologo "$(winpath "$here/$script")" 2>&1)
  code=$?
  echo "$out" | tr -d '\r' | sed "s/^/$script: /"
  if [ $code -eq 124 ] || [ $code -eq 137 ]; then
    echo "FAIL: $script did not finish within $QUILLET_WINE_TIMEOUT s"
    status=1
  elif [ $code -ne 0 ] || echo "$out" | grep -q '^FAIL' || ! echo "$out" | grep -q '^ok'; then
    echo "FAIL: $script (exit $code)"
    status=1
  fi
done

"$wine" regsvr32 /u /s "$(winpath "$dll")" || fail "regsvr32 /u failed"
for key in "$clsid" 'HKCR\Tarnkey.HotKey' 'HKCR\TypeLib\{08C2A4C0-4394-4546-BDF7-D71BF1721CEE}'; do
  "$wine" reg query "$key" >/dev/null 2>&1
  code=$?
  [ $code -eq 0 ] && fail "$key is still there after regsvr32 /u"
  # Anything but "not found" (a hang, a crash) proves nothing.
  [ $code -eq 1 ] || fail "reg query $key failed (exit $code)"
done
"$wine" regsvr32 /u /s "$(winpath "$dll")" || fail "a second regsvr32 /u failed"
[ $status -eq 0 ] && echo "registration and script clients: all checks passed"
exit $status
