# A CUPS scheduler of the test's own: its configuration, spool and logs in a
# folder, a free port on the loopback, one PDF printer (a file device fed
# through the PostScript-to-PDF filters) made the default. Sourced.
#   cups_start DIR: starts it; sets CUPS_SERVER, cups_pid, cups_pdf (the page's file)
#   cups_stop: stops it by its pid

cups_free_port() {
  local port tries
  for ((tries = 0; tries < 50; tries++)); do
    port=$((20000 + RANDOM % 20000))
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || { echo "$port"; return 0; }
  done
  return 1
}

cups_start() {
  local dir=$1 port
  rm -rf "$dir"
  mkdir -p "$dir"/{etc/ppd,spool/tmp,cache,state,log,out}
  chmod 0755 "$dir" "$dir"/etc "$dir"/etc/ppd "$dir"/cache "$dir"/state "$dir"/log
  chmod 0777 "$dir"/out "$dir"/spool/tmp
  chmod 0755 "$dir"/spool
  port=$(cups_free_port) || return 1
  cat >"$dir/etc/cupsd.conf" <<CONF
Listen 127.0.0.1:$port
LogLevel warn
WebInterface No
Browsing No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
CONF
  cat >"$dir/etc/cups-files.conf" <<CONF
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
FileDevice Yes
Sandboxing Relaxed
CONF
  # The PDF printer's description, with the page handed on as PDF.
  sed '/^\*ModelName:/a *cupsFilter2: "application/vnd.cups-pdf application/pdf 0 -"' \
    /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd >"$dir/quillet-pdf.ppd"
  /usr/sbin/cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" \
    >"$dir/log/cupsd.out" 2>&1 &
  cups_pid=$!
  export CUPS_SERVER=127.0.0.1:$port
  local i
  for ((i = 0; i < 100; i++)); do
    lpstat -r 2>/dev/null | grep -q 'is running' && break
    sleep 0.1
  done
  lpstat -r 2>/dev/null | grep -q 'is running' || { echo "cupsd did not start"; cat "$dir/log/"*; return 1; }
  cups_pdf=$dir/out/page.pdf
  lpadmin -p QuilletPDF -E -v "file://$cups_pdf" -P "$dir/quillet-pdf.ppd" || return 1
  lpadmin -d QuilletPDF || return 1
}

cups_stop() {
  [ -n "${cups_pid:-}" ] || return 0
  kill "$cups_pid" 2>/dev/null
  local i
  for ((i = 0; i < 100; i++)); do kill -0 "$cups_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$cups_pid" 2>/dev/null && kill -9 "$cups_pid" 2>/dev/null
  wait "$cups_pid" 2>/dev/null
  cups_pid=
}
