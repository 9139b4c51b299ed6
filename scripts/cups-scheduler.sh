# Sourced by the scripts that start, reload or wait for the CUPS scheduler. They deal with this
# system's own scheduler only: the one its configuration in /etc/cups runs, known by the pid file
# it writes and reached over its own socket. Another system's scheduler (in a container on the same
# host, say) may answer on localhost:631 too: it is neither asked nor signalled.

cups_scheduler_seconds=15
cups_state_dir=/run/cups # StateDir in Debian's cups-files.conf
cups_pid_file=$cups_state_dir/cupsd.pid
# lp, lpstat and lpadmin, here and in whatever these scripts start, talk to this socket only.
export CUPS_SERVER=$cups_state_dir/cups.sock

# The process id of this system's scheduler: the process its pid file names, while that is a cupsd.
scheduler_pid() {
    local pid
    pid=$(cat "$cups_pid_file" 2>/dev/null) || return 1
    [ -n "$pid" ] && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = cupsd ] || return 1
    echo "$pid"
}

scheduler_running() {
    scheduler_pid >/dev/null && lpstat -r 2>/dev/null | grep -qx 'scheduler is running'
}

# True when a scheduler answers on the network port while this system's own does not run.
foreign_scheduler_answers() {
    ! scheduler_pid >/dev/null && CUPS_SERVER=localhost lpstat -r 2>/dev/null | grep -qx 'scheduler is running'
}

# Waits until the scheduler answers, for at most cups_scheduler_seconds; fails otherwise.
wait_for_scheduler() {
    local _
    for _ in $(seq $((cups_scheduler_seconds * 10))); do
        scheduler_running && return 0
        sleep 0.1
    done
    return 1
}

# Makes this system's scheduler read its configuration and rules again, and waits for it to answer:
# through systemd where systemd runs it, otherwise with the signal the init script sends it (SIGHUP
# to the process of its pid file). Fails when it does not run.
reload_scheduler() {
    local pid
    if [ -d /run/systemd/system ] && systemctl --quiet is-active cups.service 2>/dev/null; then
        systemctl try-reload-or-restart cups.service
    else
        pid=$(scheduler_pid) || return 1
        kill -HUP "$pid"
    fi
    sleep 0.5
    wait_for_scheduler
}
