#!/usr/bin/env bash
# Sets up, builds and starts Tarnwick with its own plot server. Without a display it starts the
# program on a virtual one (Xvfb) and saves a screenshot of the main window.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TARNWICK_BUILD_DIR:-$root/build}
headless=
[ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && headless=1

"$root/scripts/setup-debian.sh" ${headless:+run}
"$root/scripts/build.sh" tarnwick servers

# On the first run, open at our sample plots rather than at the root of the file system.
settings=$build/bin/tarnwick.ini
if [ ! -e "$settings" ]; then
    printf '[UserSettings]\nDefault_Dir=%s\n' "$root/samples" >"$settings"
fi

if [ -z "$headless" ]; then
    exec "$build/bin/tarnwick"
fi

display=
for n in $(seq 99 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "run: no free display number for Xvfb" >&2; exit 1; }
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
program=
made_runtime_folder=
cleanup() {
    # The program first, so that it does not see its display go.
    if [ -n "$program" ]; then
        kill "$program" 2>/dev/null || true
        wait "$program" 2>/dev/null || true
    fi
    kill "$xvfb" 2>/dev/null || true
    [ -z "$made_runtime_folder" ] || rm -rf "$made_runtime_folder"
}
trap cleanup EXIT INT TERM
for _ in $(seq 100); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo -display "$display" >/dev/null 2>&1 || { echo "run: Xvfb did not start" >&2; exit 1; }

echo "run: no display found, so Tarnwick runs on the virtual display $display (Xvfb)."
# Without a desktop session there is no runtime folder either: one of its own, as a session gives.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    made_runtime_folder=$(mktemp -d)
    export XDG_RUNTIME_DIR=$made_runtime_folder
fi
shot=$build/tarnwick-main-window.png
rm -f "$shot"
# The program saves a picture of its main window once it has painted it.
DISPLAY=$display TARNWICK_SCREENSHOT=$shot "$build/bin/tarnwick" &
program=$!
for _ in $(seq 300); do
    [ -s "$shot" ] && break
    kill -0 "$program" 2>/dev/null || { wait "$program" || true; echo "run: Tarnwick ended before its window opened" >&2; exit 1; }
    sleep 0.1
done
[ -s "$shot" ] || { echo "run: the main window did not appear" >&2; exit 1; }
echo "run: a screenshot of the main window is in $shot"
if [ -n "${TARNWICK_EXIT_AFTER_SCREENSHOT:-}" ]; then
    exit 0
fi
echo "run: Tarnwick is running; press Ctrl+C to end it."
wait "$program"
