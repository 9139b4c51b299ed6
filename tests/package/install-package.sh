#!/usr/bin/env bash
# Installs the Debian package with apt-get, starts the installed tarnwick as an unprivileged user on
# a virtual display, prints a plot with lp through the installed CUPS filter, and removes the
# package again, checking that its files went with it. Whatever happens, the package is removed
# and the files it replaced (a build's CUPS filter, say) are put back.
# Usage: install-package.sh PACKAGE_DIR VERSION APP_ID
# It changes the system, so it runs only as root with TARNWICK_INSTALL_PACKAGE_TEST=1 (CI sets
# it), and needs a running CUPS with a cups-pdf default queue (scripts/cups-pdf-printer.sh).
# Skipped (77) otherwise; TARNWICK_REQUIRE_CUPS=1 or TARNWICK_REQUIRE_DESKTOP=1 turn skips into
# failures.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source=${TARNWICK_SOURCE_DIR:-$(cd "$here/../.." && pwd)}
step_seconds=120
window_seconds=30
print_seconds=90

# The part run inside the desktop session: the installed program as "nobody", with a home of its
# own. Usage: install-package.sh --session HOME
if [ "${1:-}" = --session ]; then
    home=$2
    # setpriv runs the program itself, so $! is its process and the window's owner.
    setpriv --reuid=nobody --regid=nogroup --clear-groups \
        env -i HOME="$home" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin QT_QPA_PLATFORM=xcb \
        /usr/bin/tarnwick >"$home/tarnwick.log" 2>&1 &
    pid=$!
    trap 'kill -9 "$pid" 2>/dev/null || true' EXIT
    window=
    for _ in $(seq $((window_seconds * 10))); do
        kill -0 "$pid" 2>/dev/null || { echo "FAIL: tarnwick ended at start: $(cat "$home/tarnwick.log")" >&2; exit 1; }
        window=$(xdotool search --onlyvisible --pid "$pid" --name '^Tarnwick$' 2>/dev/null | head -n 1) || true
        [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "FAIL: the main window did not appear within $window_seconds s" >&2; exit 1; }
    echo "the main window appeared"
    settings=$home/.config/tarnwick/tarnwick.ini
    [ "$(stat -c %U "$settings" 2>/dev/null)" = nobody ] \
        || { echo "FAIL: no settings file of nobody's own at $settings" >&2; exit 1; }
    # Closed as a user closes it, it ends on its own.
    xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4
    status=
    for _ in $(seq $((window_seconds * 10))); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid" && status=0 || status=$?
            break
        fi
        sleep 0.1
    done
    [ "$status" = 0 ] || { echo "FAIL: tarnwick did not end with status 0 on closing (${status:-still running})" >&2; exit 1; }
    exit 0
fi

packages=$1
version=$2
app_id=$3
# apt-get takes a path to a package file only when it has a slash in front: made absolute.
deb=$(realpath -m "$packages/tarnwick_${version}_$(dpkg --print-architecture).deb")

skip() {
    echo "install-package: $1" >&2
    [ "${2:-}" = 1 ] && exit 1
    exit 77
}
[ "${TARNWICK_INSTALL_PACKAGE_TEST:-}" = 1 ] \
    || skip "installs the package into this system; run as root with TARNWICK_INSTALL_PACKAGE_TEST=1"
[ "$(id -u)" -eq 0 ] || skip "must run as root to install the package" 1
[ -f "$deb" ] || skip "$deb is missing; the test package_contents builds it" "${TARNWICK_REQUIRE_DESKTOP:-}"
for tool in apt-get setpriv xdotool lp lpstat pdfinfo pdftoppm python3 dbus-run-session gdbus; do
    command -v "$tool" >/dev/null \
        || skip "$tool is not installed; install it with scripts/setup-debian.sh test" "${TARNWICK_REQUIRE_DESKTOP:-}"
done
# dpkg's state of the package: empty or not-installed when it is not on the system.
package_state() {
    dpkg-query -W -f='${db:Status-Status}' tarnwick 2>/dev/null || true
}
case "$(package_state)" in
    "" | not-installed) ;;
    *) echo "FAIL: tarnwick is on this system already; this test would remove it" >&2; exit 1 ;;
esac

. "$source/scripts/cups-scheduler.sh"
scheduler_running || skip "no CUPS scheduler runs; run scripts/cups-pdf-printer.sh as root" "${TARNWICK_REQUIRE_CUPS:-}"
queue=$(lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p')
lpstat -v "$queue" 2>/dev/null | grep -q ': cups-pdf:/' \
    || skip "the default printer '$queue' is not a cups-pdf queue; run scripts/cups-pdf-printer.sh" "${TARNWICK_REQUIRE_CUPS:-}"
pdf_dir=${TARNWICK_PDF_DIR:-/var/spool/tarnwick-pdf}

# Waits for the scheduler to answer again after a reload.
scheduler_back() {
    wait_for_scheduler && return 0
    echo "FAIL: the CUPS scheduler did not answer within $cups_scheduler_seconds s of a reload" >&2
    return 1
}

work=$(mktemp -d)
chmod 755 "$work"
# What the package would replace, kept to be put back (the build's filter, say).
backup=$work/backup
mkdir "$backup"
shipped=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print "/" $6 }')
for path in $shipped; do
    if [ -e "$path" ] || [ -L "$path" ]; then
        mkdir -p "$backup$(dirname "$path")"
        cp -a "$path" "$backup$path"
    fi
done

restore() {
    local status=$?
    set +e
    if [ -n "$(package_state)" ] && [ "$(package_state)" != not-installed ]; then
        echo "install-package: removing the package left installed" >&2
        timeout "$step_seconds" env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq tarnwick >/dev/null \
            || dpkg --purge tarnwick
    fi
    if [ -n "$(ls -A "$backup")" ]; then
        for path in $shipped; do
            if [ -e "$backup$path" ] || [ -L "$backup$path" ]; then
                mkdir -p "$(dirname "$path")"
                cp -a "$backup$path" "$path"
            fi
        done
        reload_scheduler; scheduler_back || status=1
    fi
    rm -rf "$work"
    exit "$status"
}
trap restore EXIT
trap 'exit 130' INT TERM

apt_get() {
    timeout "$step_seconds" env DEBIAN_FRONTEND=noninteractive apt-get "$@" >"$work/apt.log" 2>&1 \
        || { cat "$work/apt.log" >&2; echo "FAIL: apt-get $*" >&2; exit 1; }
}

apt_get install -y --no-install-recommends "$deb"
[ "$(dpkg-query -W -f='${Status} ${Version}' tarnwick)" = "install ok installed $version" ] \
    || { echo "FAIL: tarnwick $version is not installed after apt-get install" >&2; exit 1; }
# Every installed file is the package's own, the CUPS filter among them.
dpkg --verify tarnwick || { echo "FAIL: installed files differ from the package's" >&2; exit 1; }
echo "installed $(basename "$deb")"
# The package reloads CUPS through the service manager, which policy-rc.d may forbid (as it does in
# containers): the scheduler these tests use is reloaded here all the same, and must come back.
reload_scheduler; scheduler_back

# File managers type every plot as one through the installed MIME rules.
mime_status=0
"$here/check-mime-types.sh" || mime_status=$?
case $mime_status in
    0) ;;
    77) echo "install-package: the MIME types were not checked" >&2 ;;
    *) exit 1 ;;
esac

home=$work/home
mkdir "$home"
chown nobody:nogroup "$home"
"$source/scripts/desktop-session.sh" --window-manager "$here/install-package.sh" --session "$home"

# A script reaches the installed server on a session bus by its name alone: D-Bus starts it.
scripted=$work/scripted.jpg
if ! env -u DBUS_SESSION_BUS_ADDRESS BUS_NAME="$app_id.PlotViewer" SERVER_PATH="/${app_id//.//}/PlotViewer" \
    PLOT="$source/samples/pages.plt" MISSING="$work/missing.plt" OUT="$scripted" ERRORS="$work/errors.txt" \
    timeout "$step_seconds" dbus-run-session -- sh "$source/tests/plotviewer/server/drive-server.sh" >"$work/script.log" 2>&1; then
    echo "FAIL: a script could not use the installed plot server on the session bus: $(cat "$work/script.log")" >&2
    exit 1
fi
file -b "$scripted" | grep -q '^JPEG image data' || { echo "FAIL: the script's picture is no JPEG" >&2; exit 1; }
echo "a script turned a plot into a picture through the installed server on the session bus"

title=tarnwick-package-$$
cp "$source/samples/drawing.plt" "$work/$title.plt"
lp -d "$queue" -t "$title" "$work/$title.plt" >/dev/null
pdf=
for _ in $(seq $((print_seconds * 10))); do
    pdf=$(find "$pdf_dir" -maxdepth 1 -name "$title*.pdf" -print -quit)
    [ -n "$pdf" ] && break
    sleep 0.1
done
[ -n "$pdf" ] || { echo "FAIL: no PDF from the plot job within $print_seconds s; lpstat: $(lpstat -l -o "$queue")" >&2; exit 1; }
sleep 0.5 # cups-pdf may still be writing
pages=$(pdfinfo "$pdf" | sed -n 's/^Pages: *//p')
# Dark pixels on the page at 50 dpi: the binary grey map's pixels follow its three header lines.
ink=$(pdftoppm -r 50 -gray "$pdf" | python3 -c 'import sys; print(sum(b < 160 for b in sys.stdin.buffer.read().split(b"\n", 3)[3]))')
rm -f "$pdf"
[ "$pages" = 1 ] || { echo "FAIL: the printed plot has ${pages:-no} pages, not 1" >&2; exit 1; }
[ "$ink" -gt 20 ] || { echo "FAIL: the printed page is blank" >&2; exit 1; }
echo "printed one inked page through the installed filter"

apt_get purge -y tarnwick
case "$(package_state)" in
    "" | not-installed) ;;
    *) echo "FAIL: dpkg still knows tarnwick as $(package_state) after apt-get purge" >&2; exit 1 ;;
esac
left=
for path in $shipped; do
    [ -e "$path" ] || [ -L "$path" ] && left+=" $path"
done
[ -z "$left" ] || { echo "FAIL: files left after removing the package:$left" >&2; exit 1; }
echo "removed the package and all its files"
