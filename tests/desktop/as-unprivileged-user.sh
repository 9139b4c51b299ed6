#!/usr/bin/env bash
# Runs one desktop case as an ordinary user with a home folder of its own, so that write-protection
# binds: as root through setpriv as "nobody", otherwise as the calling user.
# Usage: as-unprivileged-user.sh BUILD_BIN CASE
# As root, the session scripts, the cases and the built program are first copied to a folder that
# user can read, since a checkout under /root is closed to everyone else.
# Exit status: the case's; 77 with the reason when root cannot change user here (1 instead when
# TARNWICK_REQUIRE_DESKTOP=1).
set -euo pipefail
user=nobody
here=$(cd "$(dirname "$0")" && pwd)
source=$(cd "$here/../.." && pwd)
build_bin=$1
case=$2

staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
chmod 755 "$staging"
home=$staging/home
mkdir "$home"

# The case in a desktop session, from the tree `root` with the program in `bin`.
case_command() {
    local root=$1 bin=$2
    session=("$root/scripts/desktop-session.sh" --window-manager
        /usr/bin/python3 "$root/tests/desktop/desktop_cases.py" "$bin" "$case")
}

if [ "$(id -u)" != 0 ]; then
    case_command "$source" "$build_bin"
    HOME=$home XDG_CONFIG_HOME= XDG_CACHE_HOME= "${session[@]}"
    exit
fi

skip() {
    echo "as-unprivileged-user: $*" >&2
    [ "${TARNWICK_REQUIRE_DESKTOP:-}" = 1 ] && exit 1
    exit 77
}
command -v setpriv >/dev/null || skip "setpriv (package util-linux) is not installed"
id "$user" >/dev/null 2>&1 || skip "there is no user $user to run as"

mkdir -p "$staging/scripts" "$staging/tests/desktop" "$staging/bin"
cp "$source/scripts/desktop-session.sh" "$staging/scripts/"
cp "$here"/*.py "$staging/tests/desktop/"
cp "$build_bin/tarnwick" "$staging/bin/"
cp -r "$build_bin/servers" "$staging/bin/"
chmod -R a+rX "$staging"
chown "$user:" "$home"
# Xvfb started by an ordinary user cannot make the shared socket folder itself.
mkdir -p /tmp/.X11-unix && chmod 1777 /tmp/.X11-unix
case_command "$staging" "$staging/bin"
status=0
setpriv --reuid="$(id -u "$user")" --regid="$(id -g "$user")" --clear-groups -- \
    env -u DBUS_SESSION_BUS_ADDRESS -u XDG_RUNTIME_DIR -u XDG_CONFIG_HOME -u XDG_CACHE_HOME -u DISPLAY \
    HOME="$home" "${session[@]}" || status=$?
exit "$status"
