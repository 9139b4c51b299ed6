#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite headless: the fuzz run first, then every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TARNWICK_BUILD_DIR:-$root/build}

"$root/scripts/setup-debian.sh" test
"$root/scripts/build.sh"

# A real CUPS scheduler with a PDF printer for the end-to-end printing test, where one can run. The
# tests, like the scripts, talk to this system's own scheduler only (CUPS_SERVER).
. "$root/scripts/cups-scheduler.sh"
if [ -x "$root/scripts/cups-pdf-printer.sh" ]; then
    if "$root/scripts/cups-pdf-printer.sh"; then
        # The plot filter too, so that lp prints plot files through it.
        "$root/scripts/install-cups-filter.sh" "$build" \
            || echo "test: the plot filter could not be installed into CUPS; its test says why."
    else
        echo "test: no CUPS printer for the printing tests (the reason is above); they say why they skip."
    fi
fi

if [ -x "$root/plotviewer/fuzz/run-fuzz.sh" ]; then
    "$root/plotviewer/fuzz/run-fuzz.sh" "$build-fuzz" "${TARNWICK_FUZZ_SECONDS:-60}"
fi

ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
