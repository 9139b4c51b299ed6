#!/usr/bin/env bash
# Checks that the plot core (reader, interpreter, model) makes the same display lists on Windows as
# on Linux: builds tests/portable natively and with MinGW-w64, runs both builds' displaylist-probe
# over every corpus file (the Windows one under Wine, in a Wine prefix of its own that goes when it
# ends) and compares the dumps (tests/portable/compare-dumps.awk says how closely). It says its steps
# in a line each, keeps what the tools printed in logs, and ends with a one-line verdict; on a
# difference it shows the first one and fails. Without the corpus it skips.
# Usage: windows-core-check.sh [BUILD-FOLDER], build-windows-core beside the sources by default.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-windows-core}
corpus=${TARNWICK_CORPUS_DIR:-$root/../shared/corpus/files}
logs=$build/logs
dumps=$build/dumps

say() { printf 'windows core: %s\n' "$*"; }
. "$root/scripts/logged.sh"

if [ ! -d "$corpus" ]; then
    say "skipped: no corpus at $corpus (set TARNWICK_CORPUS_DIR)"
    exit 0
fi
mkdir -p "$logs" "$dumps"

say "installing what is missing with apt-get (log: $logs/setup.log)"
logged "$logs/setup.log" "$root/scripts/setup-debian.sh" windows-core

say "building the probe for Linux and, with MinGW-w64, for Windows (logs: $logs/build-*.log)"
configure_and_build() {
    cmake -S "$root/tests/portable" -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=Release "${@:2}"
    cmake --build "$1"
}
logged "$logs/build-linux.log" configure_and_build "$build/linux"
logged "$logs/build-windows.log" configure_and_build "$build/windows" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/WindowsMinGWToolchain.cmake"

# The Wine prefix, and its server with the Windows processes it started, go when the script ends:
# asked to stop, and by process id if they have not.
prefix=
stop_wine() {
    [ -n "$prefix" ] || return 0
    # The server works in a folder named after the prefix's device and inode, which Debian's Wine
    # puts in a fresh wine-XXXXXX folder of the temporary folder; the Windows processes, in the prefix.
    local server process folder
    server=$(printf 'server-%x-%x' "$(stat -c %d "$prefix")" "$(stat -c %i "$prefix")")
    WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    WINEPREFIX=$prefix timeout 10 wineserver -w 2>/dev/null || true
    for process in /proc/[0-9]*; do
        folder=$(readlink "$process/cwd" 2>/dev/null) || continue
        case $folder in
            "$prefix" | "$prefix"/* | */"$server") kill -KILL "${process#/proc/}" 2>/dev/null || true ;;
        esac
    done
    for folder in "${TMPDIR:-/tmp}"/wine-*/"$server" "/tmp/.wine-$(id -u)/$server"; do
        [ -d "$folder" ] || continue
        rm -rf "$folder"
        rmdir "$(dirname "$folder")" 2>/dev/null || true
    done
    rm -rf "$prefix"
}
trap stop_wine EXIT
# Stopped from outside, it still cleans up: bash runs the EXIT trap only when it exits itself.
trap 'exit 130' INT
trap 'exit 143' TERM HUP
prefix=$(mktemp -d)
# No Mono or Gecko installer prompts when the prefix is made: the probe is a console program.
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=d'

mapfile -t plots < <(cd "$corpus" && find . -maxdepth 1 -type f -printf '%f\n' | LC_ALL=C sort)
say "dumping the display lists of ${#plots[@]} plots on both (log: $logs/probe.log)"
# Each build's dump of every plot, run in the corpus folder so that both name the plots alike.
dump() {
    local side=$1
    shift
    if ! (cd "$corpus" && "$@" "${plots[@]}") >"$dumps/$side.txt" 2>>"$logs/probe.log"; then
        say "the $side probe failed; the end of $logs/probe.log:"
        tail -n 20 "$logs/probe.log" | sed 's/^/    /'
        exit 1
    fi
}
: >"$logs/probe.log"
dump linux "$build/linux/displaylist-probe"
dump windows wine "$build/windows/displaylist-probe.exe"

# What each plot gave against EXPECT.tsv; the outcomes are part of the dumps compared below, so the
# Linux one speaks for both.
if ! awk -F '\t' -f "$root/tests/portable/check-expectations.awk" "$corpus/../EXPECT.tsv" \
    "$dumps/linux.txt" >"$logs/expect.log"; then
    say "plots that did not give what EXPECT.tsv says:"
    sed 's/^/    /' "$logs/expect.log"
    exit 1
fi

comparison=$(awk -f "$root/tests/portable/compare-dumps.awk" "$dumps/linux.txt" "$dumps/windows.txt") || {
    say "the display lists differ (Linux first, Windows second; full dumps in $dumps):"
    printf '%s\n' "$comparison" | sed 's/^/    /'
    say "FAILED: ${#plots[@]} plots, display lists differ"
    exit 1
}
say "${#plots[@]} plots, display lists $comparison"
