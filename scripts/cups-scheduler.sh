# Sourced by the scripts that start, reload or wait for the CUPS scheduler.

cups_scheduler_seconds=15

scheduler_running() {
    lpstat -r 2>/dev/null | grep -qx 'scheduler is running'
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

# Makes every running scheduler read its configuration and rules again, and waits for it to answer.
reload_scheduler() {
    local pid
    for pid in $(pidof cupsd); do kill -HUP "$pid"; done
    sleep 0.5
    wait_for_scheduler
}
