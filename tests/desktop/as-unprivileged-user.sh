#!/usr/bin/env bash
# Runs a command as an ordinary user with a home folder of its own, so that write-protection binds:
# as root through setpriv as "nobody", otherwise as the calling user.
# Exit status: the command's; 77 with the reason when root cannot change user here (1 instead when
# TARNWICK_REQUIRE_DESKTOP=1).
set -euo pipefail
user=nobody

if [ "$(id -u)" != 0 ]; then
    home=$(mktemp -d)
    trap 'rm -rf "$home"' EXIT
    HOME=$home XDG_CONFIG_HOME= XDG_CACHE_HOME= "$@"
    exit
fi

skip() {
    echo "as-unprivileged-user: $*" >&2
    [ "${TARNWICK_REQUIRE_DESKTOP:-}" = 1 ] && exit 1
    exit 77
}
command -v setpriv >/dev/null || skip "setpriv (package util-linux) is not installed"
id "$user" >/dev/null 2>&1 || skip "there is no user $user to run as"

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
chown "$user:" "$home"
# Xvfb started by an ordinary user cannot make the shared socket folder itself.
mkdir -p /tmp/.X11-unix && chmod 1777 /tmp/.X11-unix
status=0
setpriv --reuid="$(id -u "$user")" --regid="$(id -g "$user")" --clear-groups -- \
    env -u DBUS_SESSION_BUS_ADDRESS -u XDG_RUNTIME_DIR -u XDG_CONFIG_HOME -u XDG_CACHE_HOME -u DISPLAY \
    HOME="$home" "$@" || status=$?
exit "$status"
