#!/usr/bin/env bash
# Runs a command against a CUPS scheduler of its own that has no printers: started in a private
# folder, reached over a private socket, stopped by its process id when the command ends.
# Usage: with-printerless-scheduler.sh COMMAND [ARGUMENTS...]
set -euo pipefail
cupsd=$(command -v cupsd || echo /usr/sbin/cupsd)
if [ ! -x "$cupsd" ]; then
    echo "printerless scheduler: cupsd (package cups-daemon) is not installed"
    exit 77
fi
folder=$(mktemp -d)
pid=
stop() {
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    rm -rf "$folder"
}
trap stop EXIT
mkdir -p "$folder/spool" "$folder/cache" "$folder/state" "$folder/log"
chmod 755 "$folder"
cat >"$folder/cupsd.conf" <<CONF
Listen $folder/cups.sock
Browsing No
LogLevel warn
<Location />
  Order allow,deny
  Allow all
</Location>
CONF
{
    echo "ServerRoot $folder"
    echo "RequestRoot $folder/spool"
    echo "TempDir $folder/spool"
    echo "CacheDir $folder/cache"
    echo "StateDir $folder/state"
    echo "ErrorLog $folder/log/error_log"
    echo "AccessLog $folder/log/access_log"
    echo "PageLog $folder/log/page_log"
    echo "FileDevice No"
    # The scheduler refuses to run its children as root; lp is the account Debian gives it.
    if [ "$(id -u)" = 0 ]; then
        echo "User lp"
        echo "Group lp"
    fi
} >"$folder/cups-files.conf"
"$cupsd" -f -c "$folder/cupsd.conf" -s "$folder/cups-files.conf" &
pid=$!
export CUPS_SERVER=$folder/cups.sock
for _ in $(seq 100); do
    lpstat -r 2>/dev/null | grep -qx 'scheduler is running' && break
    kill -0 "$pid" 2>/dev/null || { echo "printerless scheduler: cupsd did not start:"; cat "$folder/log/error_log" 2>/dev/null; exit 1; }
    sleep 0.1
done
"$@"
