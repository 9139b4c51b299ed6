#!/usr/bin/env bash
# Configures and builds Tarnwick in build/ (or $TARNWICK_BUILD_DIR). Extra arguments name targets.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TARNWICK_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc)" ${@:+--target "$@"}
