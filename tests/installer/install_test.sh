#!/usr/bin/env bash
# The setup program in a fresh prefix: a silent install puts the files, the
# shortcuts, the Apps entry and both class registrations in place; the
# installed program starts and both script hosts create Tarnkey.HotKey; a
# silent uninstall while the program runs ends it and leaves the registry and
# the disk as they were, but for the user's stores and pictures. Then the same
# for one user, with the machine's class keys refusing writes.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib.sh"
setup=$1 program=$2 tarnkey64=$3 tarnkey32=$4 waitready=$5 lock=$6
fail() { echo "FAIL: $*"; exit 1; }
[ -f "$setup" ] || fail "no setup program at $setup (makensis missing, or no 32-bit Tarnkey.dll?)"

# The 32-bit script host needs a kernel that runs 32-bit programs; where it
# cannot, Wine cannot either, and only that part is left out, loudly.
run32=1
/usr/lib/wine/wine --version >/dev/null 2>&1
case $? in
  0) ;;
  126) run32=0; echo "NOTE: this kernel cannot run 32-bit programs: the 32-bit checks are left out" ;;
  *) fail "the 32-bit Wine loader is missing (scripts/setup installs wine32:i386)" ;;
esac

# A copy of a prefix made once and never run in: as fresh as a new one.
pristine="$BUILD/wineprefix-installer-pristine"
if [ ! -f "$pristine/.quillet-prefix-made" ]; then
  rm -rf "$pristine"
  prepare_prefix "$pristine" >/dev/null || fail "could not make a prefix"
  timeout 20 "$WINESERVER" -k >/dev/null 2>&1
fi
export WINEPREFIX="$BUILD/wineprefix-installer"
# Shortcuts stay in the prefix, not in this machine's own menus.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX" && cp -a "$pristine/." "$WINEPREFIX/" || fail "could not copy the prefix"
timeout 20 "$WINESERVER" -p >/dev/null 2>&1
app=
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null
  timeout 20 "$WINESERVER" -k >/dev/null 2>&1
}
trap cleanup EXIT

w() { timeout --kill-after=5 60 "$WINE" "$@" 2>/dev/null | tr -d '\r'; }
drive="$WINEPREFIX/drive_c"
winpath() { echo "Z:${1//\//\\}"; }
reg_has() { w reg query "$@" >/dev/null; }
reg_value() {  # key name [view]: the value's data
  local which=(/v "$2")
  [ "$2" = '(Default)' ] && which=(/ve)
  w reg query "$1" "${which[@]}" ${3:+"$3"} | awk -v n="$2" '$1 == n { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}
clsid='{F546DB2F-84DF-4E6D-83EC-75827B8F0704}'
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\QuilletPro'
run_key='Software\Microsoft\Windows\CurrentVersion\Run'

# Wine's reg has once made no file under load while the uninstaller's
# processes were ending; an export is tried again before the test gives up.
export_key() {  # key file [view]
  local try
  for try in 1 2 3; do
    rm -f "$2"
    w reg export "$1" "$(winpath "$2")" ${3:+"$3"} /y >/dev/null
    [ -s "$2" ] && return 0
    echo "note: reg export of $1 made no file (try $try)"
  done
  fail "reg export of $1 made no file"
}
# The registry and the disk as they are before anything is installed.
snapshot() {  # name
  export_key 'HKLM\Software' "$tmp/$1-hklm.reg" /reg:64
  export_key 'HKCU\Software' "$tmp/$1-hkcu.reg"
  # Wine's own bookkeeping changes with every run.
  for f in "$tmp/$1"-*.reg; do
    iconv -f UTF-16LE -t UTF-8 "$f" | tr -d '\r' |
      grep -v -e '^\[HKEY_CURRENT_USER\\Software\\Wine' -e '^"' -e '^@=' -e '^$' >"$f.keys"
    iconv -f UTF-16LE -t UTF-8 "$f" | tr -d '\r' >"$f.txt"
  done
  (cd "$drive" && find . -path ./windows -prune -o -path './users/*/Temp' -prune -o \
    -path './users/*/AppData/Local/Temp' -prune -o -print | sort) >"$tmp/$1-files"
}
tmp=$(mktemp -d)
trap 'cleanup; rm -rf "$tmp"' EXIT

# The user's data, and an Auto Run value of another program that must stay.
printf '[Settings]\r\naskImport=1\r\nStoreNumber=1\r\nAutoSave=1\r\nAutoRun=1\r\n[Savings1]\r\ntxt(0)=kept through the uninstall\r\n' \
  >"$drive/quilbdx.ini"
mkdir -p "$drive/ClipPics"
convert -size 4x4 xc:red "bmp3:$drive/ClipPics/pic1.bmp" || fail "could not make a picture"
picture_sum=$(md5sum <"$drive/ClipPics/pic1.bmp")
# Windows gives every user a classes key; a new prefix has none yet.
w reg add 'HKCU\Software\Classes' /f >/dev/null
w reg add "HKLM\\$run_key" /v Other /d 'C:\other.exe' /f >/dev/null
# Each script host registers its own type library at its first run.
printf 'WScript.Echo "ready"\r\n' >"$tmp/ready.vbs"
[ "$(w cscript //nologo "$(winpath "$tmp/ready.vbs")")" = ready ] || fail "cscript does not run"
if [ $run32 = 1 ]; then
  [ "$(w 'C:\windows\syswow64\cscript.exe' //nologo "$(winpath "$tmp/ready.vbs")")" = ready ] ||
    fail "the 32-bit cscript does not run"
fi
snapshot before

echo "== silent install for all users"
w "$(winpath "$setup")" /S || fail "the silent install failed"
folder="$drive/Program Files/Quillet Pro"
cmp -s "$program" "$folder/quilletpro.exe" || fail "quilletpro.exe is not installed"
cmp -s "$tarnkey64" "$folder/Tarnkey.dll" || fail "the 64-bit Tarnkey.dll is not installed"
cmp -s "$tarnkey32" "$folder/x86/Tarnkey.dll" || fail "the 32-bit Tarnkey.dll is not in x86"
[ -f "$folder/Uninstall.exe" ] || fail "no uninstaller"
menu="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Quillet Pro"
[ -f "$menu/Quillet Pro.lnk" ] || fail "no Start menu shortcut"
strings -a -el "$menu/Quillet Pro.lnk" | grep -qi 'Quillet Pro\\quilletpro.exe' ||
  strings -a "$menu/Quillet Pro.lnk" | grep -qi 'Quillet Pro\\quilletpro.exe' ||
  fail "the shortcut does not lead to the program"
echo "files and shortcut: ok"

apps="HKLM\\$uninstall_key"
[ "$(reg_value "$apps" DisplayName /reg:64)" = "Quillet Pro" ] || fail "Apps entry: no DisplayName"
[ "$(reg_value "$apps" DisplayVersion /reg:64)" = "1.0.0" ] || fail "Apps entry: wrong version"
[ "$(reg_value "$apps" Publisher /reg:64)" = "Brindle" ] || fail "Apps entry: no publisher"
[ "$(reg_value "$apps" DisplayIcon /reg:64)" = 'C:\Program Files\Quillet Pro\quilletpro.exe,0' ] ||
  fail "Apps entry: no icon"
[ "$(reg_value "$apps" UninstallString /reg:64)" = '"C:\Program Files\Quillet Pro\Uninstall.exe"' ] ||
  fail "Apps entry: no uninstall command"
quiet=$(reg_value "$apps" QuietUninstallString /reg:64)
[ "$quiet" = '"C:\Program Files\Quillet Pro\Uninstall.exe" /S' ] || fail "Apps entry: no quiet uninstall ($quiet)"
[ "$(reg_value "$apps" NoModify /reg:64)" = 0x1 ] && [ "$(reg_value "$apps" NoRepair /reg:64)" = 0x1 ] ||
  fail "Apps entry: offers to modify or repair"
size_kb=$(($(reg_value "$apps" EstimatedSize /reg:64)))
files_kb=$(( ($(find "$folder" -type f -printf '%s+' | sed 's/+$//')) / 1024 ))
[ "$size_kb" -gt 0 ] && [ $((size_kb - files_kb)) -le 8 ] && [ $((files_kb - size_kb)) -le 8 ] ||
  fail "Apps entry: size $size_kb kB for $files_kb kB of files"
echo "Apps entry: ok"

inproc="HKLM\\Software\\Classes\\CLSID\\$clsid\\InprocServer32"
[ "$(reg_value "$inproc" '(Default)' /reg:64)" = 'C:\Program Files\Quillet Pro\Tarnkey.dll' ] ||
  fail "the 64-bit class is not registered in the 64-bit view"
if [ $run32 = 1 ]; then
  [ "$(reg_value "$inproc" '(Default)' /reg:32)" = 'C:\Program Files\Quillet Pro\x86\Tarnkey.dll' ] ||
    fail "the 32-bit class is not registered in the 32-bit view"
fi
echo "class registrations: ok"

echo "== the installed program"
(cd "$folder" && exec timeout 300 "$WINE" 'C:\Program Files\Quillet Pro\quilletpro.exe') >/dev/null 2>&1 &
app=$!
w "$(winpath "$waitready")" 30000 >/dev/null || fail "the installed program did not get ready"
x_window 'Quillet Pro' 10 >/dev/null || fail "the installed program shows no window"
echo "the program started from its folder and shows its window"

script="$tmp/modifiers.vbs"
printf 'Set hk = CreateObject("Tarnkey.HotKey")\r\nhk.Modifiers = 6\r\nWScript.Echo "Modifiers=" & hk.Modifiers\r\n' >"$script"
hosts=('C:\windows\system32\cscript.exe')
[ $run32 = 1 ] && hosts+=('C:\windows\syswow64\cscript.exe')
for host in "${hosts[@]}"; do
  out=$(w "$host" //nologo "$(winpath "$script")")
  [ "$out" = "Modifiers=6" ] || fail "$host did not use Tarnkey.HotKey: $out"
  echo "$host created Tarnkey.HotKey and read Modifiers"
done

# Auto Run values the program writes, for the machine and for the user.
w reg add "HKLM\\$run_key" /v Quillet_Pro /d '"C:\Program Files\Quillet Pro\quilletpro.exe"' /f >/dev/null
w reg add "HKCU\\$run_key" /v Quillet_Pro /d '"C:\Program Files\Quillet Pro\quilletpro.exe"' /f >/dev/null

# The uninstaller runs from a copy of itself, so its end is seen in its work.
uninstalled() {
  [ ! -e "$1" ] && ! pgrep -f 'Au_\.exe' >/dev/null
}

echo "== silent uninstall while the program runs"
w "$(winpath "$folder/Uninstall.exe")" /S
poll 60 uninstalled "$folder" || fail "the uninstall did not finish within a minute"
wait_bounded 20 "$app" >/dev/null || fail "the program still runs after the uninstall"
app=
[ -f "$drive/quilbdx.ini" ] && grep -q 'kept through the uninstall' "$drive/quilbdx.ini" ||
  fail "the user's settings file is gone"
[ "$(md5sum <"$drive/ClipPics/pic1.bmp")" = "$picture_sum" ] || fail "the user's picture is gone"
echo "the program ended; the settings file and the pictures stayed"

compare() {  # what the installer may have left
  snapshot after
  local part
  for part in hklm hkcu; do
    if ! diff "$tmp/before-$part.reg.keys" "$tmp/after-$part.reg.keys" >"$tmp/diff"; then
      cat "$tmp/diff"
      fail "registry keys in $part differ after $1"
    fi
    # Values anywhere that speak of the program or its library.
    if diff "$tmp/before-$part.reg.txt" "$tmp/after-$part.reg.txt" |
      grep -i -e quillet -e tarnkey -e F546DB2F -e 08C2A4C0; then
      fail "values in $part left after $1"
    fi
  done
  if ! diff "$tmp/before-files" "$tmp/after-files" >"$tmp/diff"; then
    cat "$tmp/diff"
    fail "files differ after $1"
  fi
  reg_value "HKLM\\$run_key" Other | grep -q other.exe || fail "another program's Auto Run value went"
}
compare "the uninstall"
echo "registry and files are as before the install"

echo "== silent install for the current user, the machine's class keys refusing writes"
w "$(winpath "$lock")" lock || fail "could not lock the machine's class keys"
w "$(winpath "$setup")" /S /CurrentUser || fail "the per-user install failed"
user_dir=$(w cmd /c 'echo %LOCALAPPDATA%')
user_folder="$drive/${user_dir#C:\\}"
user_folder="${user_folder//\\//}/Programs/Quillet Pro"
appdata=$(w cmd /c 'echo %APPDATA%')
user_menu="$drive/${appdata#C:\\}"
user_menu="${user_menu//\\//}/Microsoft/Windows/Start Menu/Programs/Quillet Pro"
cmp -s "$program" "$user_folder/quilletpro.exe" || fail "not installed in $user_folder"
cmp -s "$tarnkey32" "$user_folder/x86/Tarnkey.dll" || fail "no 32-bit Tarnkey.dll for the user"
[ ! -e "$folder" ] || fail "the per-user install wrote into Program Files"
[ -f "$user_menu/Quillet Pro.lnk" ] || fail "no Start menu shortcut for the user"
[ ! -e "$menu" ] || fail "the per-user install made an all-users shortcut"
[ "$(reg_value "HKCU\\$uninstall_key" DisplayName)" = "Quillet Pro" ] || fail "no Apps entry for the user"
reg_has "HKLM\\$uninstall_key" /reg:64 && fail "the per-user install made a machine Apps entry"
user_inproc="HKCU\\Software\\Classes\\CLSID\\$clsid\\InprocServer32"
[ "$(reg_value "$user_inproc" '(Default)')" = "$(echo "${user_dir}\\Programs\\Quillet Pro\\Tarnkey.dll")" ] ||
  fail "Tarnkey.dll is not registered for the user"
reg_has "$inproc" /reg:64 && fail "Tarnkey.dll registered for the machine all the same"
echo "per-user install: files, shortcut, Apps entry and class under the user's keys"

w "$(winpath "$user_folder/Uninstall.exe")" /S
poll 60 uninstalled "$user_folder" || fail "the per-user uninstall did not finish within a minute"
w "$(winpath "$lock")" unlock || fail "could not unlock the machine's class keys"
compare "the per-user uninstall"
echo "per-user uninstall: registry and files are as before"
echo "installer: all checks passed"
exit 0
