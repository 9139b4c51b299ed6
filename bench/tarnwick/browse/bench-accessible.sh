#!/usr/bin/env bash
# Runs the list commands of bench_browse the way a screen-reader user meets them: the lists shown on
# a virtual display (xcb) with Qt's accessibility bridge active and an AT-SPI client listening to
# the events a screen reader listens to. Arguments go to the benchmark.
# Usage: bench/tarnwick/browse/bench-accessible.sh [build folder] [benchmark arguments...]
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
build=${1:-$root/build}
shift || true

export TARNWICK_BENCH_ACCESSIBLE=1
exec "$root/scripts/desktop-session.sh" bash -c '
    root=$0 build=$1
    shift
    /usr/bin/python3 "$root/bench/tarnwick/browse/screen-reader-listener.py" &
    listener=$!
    trap "kill $listener" EXIT
    sleep 1 # let the listener register before the application looks for listeners
    "$build/bin/bench_browse" \
        --benchmark_filter="^(selectAll|addAllToList|removeAll|clearList)/(1000|50000|100000)$" "$@"
' "$root" "$build" "$@"
