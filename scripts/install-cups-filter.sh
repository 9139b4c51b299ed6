#!/usr/bin/env bash
# Installs the built plot filter (plottopdf) and its type and conversion rules into the running
# CUPS, for printing plot files end to end with lp, and makes the scheduler read them. Needs root.
# Safe to run again. Usage: install-cups-filter.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${TARNWICK_BUILD_DIR:-$root/build}}
rules=$root/plotviewer/cupsfilter
. "$root/scripts/cups-scheduler.sh"

die() {
    echo "install-cups-filter: $*" >&2
    exit 1
}

[ "$(id -u)" -eq 0 ] || die "must run as root: CUPS's folders belong to root"
[ -x "$build/bin/plottopdf" ] || die "$build/bin/plottopdf is not built; run scripts/build.sh plottopdf"
command -v cups-config >/dev/null || die "cups-config is missing; install the package libcups2-dev"

# CUPS runs only filters owned by root and writable by no one else.
install -o root -g root -m 755 "$build/bin/plottopdf" "$(cups-config --serverbin)/filter/plottopdf"
install -o root -g root -m 644 "$rules/tarnwick.types" "$rules/tarnwick.convs" "$(cups-config --datadir)/mime/"

# A reload makes a running scheduler read the new rules.
if scheduler_pid >/dev/null; then
    reload_scheduler || die "the CUPS scheduler did not come back within $cups_scheduler_seconds seconds"
fi
