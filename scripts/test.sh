#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite headless: the fuzz run and the Windows core check
# first, then every test. It says its steps in a line each; what a step printed is in a log file
# whose path it names, and the end of that log shows when the step fails. It ends with the tests'
# summary, what did not run and why, the fuzzer's verdict and the Windows core check's.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TARNWICK_BUILD_DIR:-$root/build}
logs=$build/logs
mkdir -p "$logs"

say() { printf 'test: %s\n' "$*"; }
. "$root/scripts/logged.sh"

say "installing what is missing with apt-get (log: $logs/setup.log)"
logged "$logs/setup.log" "$root/scripts/setup-debian.sh" test
say "building (log: $logs/build.log)"
logged "$logs/build.log" "$root/scripts/build.sh"

# What this script starts or makes for the tests goes when it ends: the CUPS scheduler, by its
# process id, and the runtime folder.
started_scheduler=
made_runtime_folder=
cleanup() {
    if [ -n "$started_scheduler" ]; then
        kill "$started_scheduler" 2>/dev/null || true
        for _ in $(seq 50); do kill -0 "$started_scheduler" 2>/dev/null || break; sleep 0.1; done
    fi
    [ -z "$made_runtime_folder" ] || rm -rf "$made_runtime_folder"
}
trap cleanup EXIT

# Programs without a desktop session get a runtime folder of their own, as a session would give.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    made_runtime_folder=$(mktemp -d)
    export XDG_RUNTIME_DIR=$made_runtime_folder
fi

# A real CUPS scheduler with a PDF printer for the end-to-end printing tests, where one can run. The
# tests, like the scripts, talk to this system's own scheduler only (CUPS_SERVER).
. "$root/scripts/cups-scheduler.sh"
if [ -x "$root/scripts/cups-pdf-printer.sh" ]; then
    running_before=$(scheduler_pid || true)
    if "$root/scripts/cups-pdf-printer.sh" >"$logs/cups.log" 2>&1; then
        [ -n "$running_before" ] || started_scheduler=$(scheduler_pid || true)
        # The plot filter too, so that lp prints plot files through it.
        if "$root/scripts/install-cups-filter.sh" "$build" >>"$logs/cups.log" 2>&1; then
            say "printing to a CUPS PDF printer, through the plot filter (log: $logs/cups.log)"
        else
            say "the plot filter could not be installed into CUPS (log: $logs/cups.log); its test says why"
        fi
    else
        say "no CUPS printer for the printing tests (log: $logs/cups.log); they say why they skip"
    fi
fi

fuzz_verdict="fuzz: not run (plotviewer/fuzz/run-fuzz.sh is missing)"
if [ -x "$root/plotviewer/fuzz/run-fuzz.sh" ]; then
    seconds=${TARNWICK_FUZZ_SECONDS:-60}
    say "fuzzing the plot reader for $seconds s (log: $logs/fuzz.log)"
    logged "$logs/fuzz.log" "$root/plotviewer/fuzz/run-fuzz.sh" "$build-fuzz" "$seconds"
    fuzz_verdict="fuzz: nothing found in $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$logs/fuzz.log" | tail -n 1 | cut -d' ' -f2-)"
fi

# The plot core built for Windows too, and run under Wine: the same display lists as here.
say "checking the plot core's Windows build under Wine (log: $logs/windows-core.log)"
logged "$logs/windows-core.log" "$root/scripts/windows-core-check.sh" "$build-windows-core"
windows_verdict=$(tail -n 1 "$logs/windows-core.log")

say "testing (log: $logs/ctest.log)"
status=0
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" >"$logs/ctest.log" 2>&1 || status=$?
# The failures' own output, then the summary.
if [ "$status" -ne 0 ]; then
    awk '/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: .*\*\*\*Failed/ { show = 1 } /^ *Start / { show = 0 } show' \
        "$logs/ctest.log" | tail -n 60
fi
sed -n '/tests passed, /,$p' "$logs/ctest.log" | grep -v '^$' | grep -v '^Label Time Summary' \
    | grep -v 'sec\*proc' | grep -v '^Output from these tests\|^Use "--rerun' || true

# What did not run, and why: whole suites CTest skipped, and single rows a suite skipped.
awk '
    /^[0-9]+\/[0-9]+ Test: / { test = $3 }
    /^SKIP +: / { sub(/^SKIP +: /, ""); print "skipped: " $0; next }
    /^SKIP: / { sub(/^SKIP: /, ""); print "skipped: " test ": " $0 }
    /^desktop-session: .* not installed/ { print "skipped: " test ": " $0 }
' "$build/Testing/Temporary/LastTest.log" 2>/dev/null | sort -u || true
echo "$fuzz_verdict"
echo "$windows_verdict"
exit "$status"
