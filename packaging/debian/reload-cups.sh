# Makes a running CUPS scheduler read its filter rules again, as Debian's packages do: through the
# service manager, which reloads this system's own scheduler (never another system's, in a
# container on the same host, say), does nothing when none runs, and heeds policy-rc.d.
reload_cups() {
    if [ -d /run/systemd/system ]; then
        deb-systemd-invoke try-reload-or-restart cups.service >/dev/null 2>&1 || true
    elif [ -x /etc/init.d/cups ]; then
        invoke-rc.d --quiet cups reload >/dev/null 2>&1 || true
    fi
}
