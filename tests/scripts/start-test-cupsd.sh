#!/usr/bin/env bash
# Starts a private CUPS scheduler for the printing tests, listening only on DIR/cups.sock, with one
# generic text-only queue "AlarmFile" whose file: device writes every job to DIR/out/alarm.prn. (A raw
# queue on a file: device completes its jobs without writing anything in CUPS 2.4.) Prints the scheduler's
# process id on success; exits non-zero with the reason on stderr when no scheduler can run here.
# Usage: start-test-cupsd.sh DIR
set -euo pipefail
dir=$1
cupsd_bin=$(command -v cupsd || echo /usr/sbin/cupsd)
lpadmin_bin=$(command -v lpadmin || echo /usr/sbin/lpadmin)
[[ -x $cupsd_bin ]] || { echo "cupsd is not installed" >&2; exit 2; }
[[ -x $lpadmin_bin ]] || { echo "lpadmin is not installed" >&2; exit 2; }

mkdir -p "$dir"/{etc,spool/tmp,cache,state,log,out}
# Filters and the file device run as the scheduler's user, which must reach the output folder.
chmod 755 "$dir" "$dir"/etc
chmod 777 "$dir"/out "$dir"/spool/tmp
cat > "$dir/etc/cupsd.conf" <<CONF
Listen $dir/cups.sock
LogLevel ${CUPS_TEST_LOGLEVEL:-warn}
Browsing No
WebInterface No
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
cat > "$dir/etc/cups-files.conf" <<CONF
FileDevice Yes
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
CONF

"$cupsd_bin" -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" > "$dir/log/cupsd.out" 2>&1 &
pid=$!
for _ in $(seq 1 100); do
  [[ -S $dir/cups.sock ]] && break
  kill -0 "$pid" 2>/dev/null || { echo "cupsd did not start: $(cat "$dir/log/cupsd.out" "$dir/log/error_log" 2>/dev/null)" >&2; exit 3; }
  sleep 0.05
done
[[ -S $dir/cups.sock ]] || { kill "$pid"; echo "cupsd opened no socket" >&2; exit 3; }
if ! "$lpadmin_bin" -h "$dir/cups.sock" -p AlarmFile -E -v "file://$dir/out/alarm.prn" -m drv:///cupsfilters.drv/textonly.ppd > "$dir/log/lpadmin.out" 2>&1; then
  kill "$pid"
  echo "lpadmin failed: $(cat "$dir/log/lpadmin.out")" >&2
  exit 4
fi
echo "$pid"
