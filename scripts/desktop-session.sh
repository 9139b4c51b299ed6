#!/usr/bin/env bash
# Runs a command in a desktop session of its own: a virtual display (Xvfb), a private D-Bus session
# bus with the accessibility (AT-SPI) bus on it, and with --window-manager the openbox window
# manager. Everything started here is stopped when the command ends.
#
# Usage: desktop-session.sh [--window-manager] command [arguments...]
# Exit status: the command's; 77 with the reason on standard error when a piece is not installed
# (1 instead when TARNWICK_REQUIRE_DESKTOP=1); 77 with the reason when an installed piece does not
# come up after three fresh starts.
set -euo pipefail

startup_seconds=15
bus_launcher=/usr/libexec/at-spi-bus-launcher

arguments=("$@")
window_manager=
if [ "${1:-}" = "--window-manager" ]; then
    window_manager=1
    shift
fi
[ $# -gt 0 ] || { echo "usage: desktop-session.sh [--window-manager] command [arguments...]" >&2; exit 2; }

missing() {
    echo "desktop-session: $* is not installed; install it with scripts/setup-debian.sh test" >&2
    [ "${TARNWICK_REQUIRE_DESKTOP:-}" = 1 ] && exit 1
    exit 77
}
# A piece that is installed but does not come up: start the whole session afresh, twice at most,
# then report the reason and skip, since a display that will not start says nothing of the program.
die() {
    echo "desktop-session: $*" >&2
    cleanup
    trap - EXIT
    local attempt=${TARNWICK_DESKTOP_ATTEMPT:-1}
    if [ "$attempt" -lt 3 ]; then
        TARNWICK_DESKTOP_ATTEMPT=$((attempt + 1)) exec "$0" "${arguments[@]}"
    fi
    exit 77
}

command -v Xvfb >/dev/null || missing "Xvfb (package xvfb)"
command -v xprop >/dev/null || missing "xprop (package x11-utils)"
command -v dbus-daemon >/dev/null || missing "dbus-daemon (package dbus)"
command -v dbus-send >/dev/null || missing "dbus-send (package dbus)"
[ -x "$bus_launcher" ] || missing "the accessibility bus (package at-spi2-core)"
[ -z "$window_manager" ] || command -v openbox >/dev/null || missing "openbox (package openbox)"

work=$(mktemp -d)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    # A display still going down keeps its socket: the next session could connect to it and lose it.
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Waits until `condition` (a command) succeeds, for at most startup_seconds.
wait_for() {
    local _
    for _ in $(seq $((startup_seconds * 10))); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# Xvfb picks a free display itself and writes its number once it accepts clients. Sessions
# started at the same moment can still race for a number: the loser ends, and we try again.
start_display() {
    : >"$work/display"
    # -noreset: the display otherwise resets whenever its last client leaves, as the start-up probes do.
    Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    pids+=($!)
    wait_for test -s "$work/display" || return 1
    export DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
    wait_for xprop -root _NET_SUPPORTED
}
for attempt in 1 2 3; do
    start_display && break
    [ "$attempt" = 3 ] && die "Xvfb did not start within $startup_seconds s: $(tail -n 3 "$work/xvfb.log" | tr '\n' ' ')"
done

read -r bus_address bus_pid < <(dbus-daemon --session --fork --print-address=1 --print-pid=1 | paste -s -d ' ')
[ -n "${bus_pid:-}" ] || die "the D-Bus session bus did not start"
pids+=("$bus_pid")
export DBUS_SESSION_BUS_ADDRESS=$bus_address

"$bus_launcher" --launch-immediately >"$work/atspi.log" 2>&1 &
pids+=($!)
wait_for dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    || die "the accessibility bus did not start within $startup_seconds s: $(tail -n 3 "$work/atspi.log" | tr '\n' ' ')"

if [ -n "$window_manager" ]; then
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    pids+=($!)
    wait_for sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' \
        || die "openbox did not start within $startup_seconds s: $(tail -n 3 "$work/openbox.log" | tr '\n' ' ')"
fi

export QT_QPA_PLATFORM=xcb
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
"$@"
