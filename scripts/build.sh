#!/usr/bin/env bash
# Configures and builds Tarnwick in build/ (or $TARNWICK_BUILD_DIR). Extra arguments name targets.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TARNWICK_BUILD_DIR:-$root/build}
# ccache, where installed, makes rebuilds after a small change cheap.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build "$build" --parallel "$(nproc)" ${@:+--target "$@"}
