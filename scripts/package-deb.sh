#!/usr/bin/env bash
# Builds the Debian package tarnwick_<version>_<arch>.deb, which installs Tarnwick below /usr, and
# prints its path. Usage: package-deb.sh [BUILD_DIR]
# A new BUILD_DIR (build-deb/ by default) is configured as a release build without tests or
# benchmarks; an existing one, such as build/, is packaged as it is configured.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-deb}

"$root/scripts/setup-debian.sh" package
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
        -DTARNWICK_BUILD_TESTS=OFF -DTARNWICK_BUILD_BENCHMARKS=OFF >/dev/null
fi
cmake --build "$build" --parallel "$(nproc)"

# cpack reports the package it wrote as "CPack: - package: PATH generated."
output=$(cd "$build" && cpack -G DEB -B "$build/package")
package=$(sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' <<<"$output")
[ -f "$package" ] || { printf '%s\n' "$output" >&2; echo "package-deb: cpack wrote no package" >&2; exit 1; }
echo "$package"
