#!/usr/bin/env bash
# Makes sure a CUPS scheduler runs with a virtual PDF printer as the default queue, for printing
# end to end without paper. Prints the folder where the printed PDFs land on standard output.
# Safe to run again: what is already in place is kept. Needs root, and the Debian packages cups,
# cups-client and printer-driver-cups-pdf. There is no service manager here: cupsd is started
# directly.
#
# Environment: TARNWICK_PDF_QUEUE (queue name, default Tarnwick_PDF),
#              TARNWICK_PDF_DIR (output folder, default /var/spool/tarnwick-pdf).
set -euo pipefail

queue=${TARNWICK_PDF_QUEUE:-Tarnwick_PDF}
out_dir=${TARNWICK_PDF_DIR:-/var/spool/tarnwick-pdf}
# The backend reads /etc/cups/cups-pdf-<instance>.conf for the device URI cups-pdf:/<instance>,
# so our settings leave the system's own PDF printer alone.
instance=tarnwick
config=/etc/cups/cups-pdf-$instance.conf
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
error_log=/var/log/cups/error_log
. "$(dirname "$0")/cups-scheduler.sh"

die() {
    echo "cups-pdf-printer: $*" >&2
    exit 1
}

log_tail() {
    [ -r "$error_log" ] && tail -n 5 "$error_log" | sed 's/^/    /' >&2 || true
}

[ "$(id -u)" -eq 0 ] || die "must run as root: the scheduler and the cups-pdf backend need it"
for tool in cupsd lpadmin lpstat cupsenable cupsaccept; do
    command -v "$tool" >/dev/null || die "'$tool' is missing; install the packages cups and cups-client"
done
[ -x /usr/lib/cups/backend/cups-pdf ] && [ -r "$ppd" ] \
    || die "the cups-pdf backend or its PPD is missing; install the package printer-driver-cups-pdf"

if ! scheduler_running; then
    if foreign_scheduler_answers; then
        echo "cups-pdf-printer: the CUPS scheduler answering on localhost:631 is not this system's;" \
            "starting this system's own, which these scripts use over $CUPS_SERVER" >&2
    fi
    mkdir -p "$cups_state_dir"
    cupsd || { log_tail; die "cupsd could not be started"; }
    wait_for_scheduler \
        || { log_tail; die "the CUPS scheduler did not answer within $cups_scheduler_seconds seconds"; }
fi

mkdir -p "$out_dir"
wanted_config="Out $out_dir
AnonDirName $out_dir
Label 2"
if [ ! -f "$config" ] || [ "$(cat "$config")" != "$wanted_config" ]; then
    printf '%s\n' "$wanted_config" >"$config"
fi

if ! lpstat -p "$queue" >/dev/null 2>&1; then
    lpadmin -p "$queue" -E -v "cups-pdf:/$instance" -P "$ppd" \
        || { log_tail; die "could not create the printer queue $queue"; }
fi
# A job whose filter fails ends there, rather than being retried or stopping the queue for the
# jobs after it.
lpadmin -p "$queue" -o printer-error-policy=abort-job || die "could not set the error policy of $queue"
cupsenable "$queue" || die "could not enable the printer queue $queue"
cupsaccept "$queue" || die "could not make the printer queue $queue accept jobs"
lpadmin -d "$queue" || die "could not make $queue the default printer"

echo "$out_dir"
