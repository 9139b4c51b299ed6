#!/usr/bin/env bash
# Installs with apt-get what building, running or testing Tarnwick needs on Debian 12, skipping
# what is already there. Usage: setup-debian.sh [run|test|gallery|package|windows-core]
set -euo pipefail

# The plot core (reader, interpreter, model) alone needs no more than a compiler.
core_build_packages=(cmake ninja-build g++)
# The benchmarks are part of every build, so their library is a build package.
# The tests, built with everything else, pack the archives they refuse as plots with zlib.
build_packages=("${core_build_packages[@]}" qt6-base-dev qt6-svg-dev libcups2-dev libpng-dev libbenchmark-dev fonts-wine
    hershey-fonts-data zlib1g-dev)
run_packages=(xvfb x11-utils)
# The desktop set runs the program on Xvfb under openbox and drives it over the accessibility bus.
# Plots that gnuplot, plotutils and Ghostscript's PCL drivers write must open; KiCad's and Inkscape's
# rows run where those (large) packages are installed.
test_packages=(clang libclang-rt-14-dev cups printer-driver-cups-pdf poppler-utils shared-mime-info
    desktop-file-utils netpbm xvfb x11-utils xdotool openbox dbus at-spi2-core python3-pyatspi gir1.2-atspi-2.0
    gnuplot-nox plotutils ghostscript python3-pil libglib2.0-bin librsvg2-bin)
# cpack -G DEB finds the package's dependencies with dpkg-shlibdeps and its binaries with file.
package_packages=(dpkg-dev file)
# The package test checks what the package holds with the tools a Debian archive uses.
package_test_packages=(lintian appstream)
gallery_packages=(hp2xx)
# The plot core cross-built for Windows and run under Wine (windows-core-check.sh). Debian's wine64
# holds the 64-bit loader only; wine puts it on the path as `wine`, with `wineserver` beside it.
windows_core_packages=(g++-mingw-w64-x86-64-win32 wine wine64)

wanted=("${build_packages[@]}")
case "${1:-}" in
    run) wanted+=("${run_packages[@]}") ;;
    test) wanted+=("${test_packages[@]}" "${package_packages[@]}" "${package_test_packages[@]}") ;;
    package) wanted+=("${package_packages[@]}") ;;
    gallery) wanted+=("${gallery_packages[@]}") ;;
    windows-core) wanted=("${core_build_packages[@]}" "${windows_core_packages[@]}") ;;
esac

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if ! command -v apt-get >/dev/null; then
    echo "setup: apt-get is not available; install these packages by hand: ${missing[*]}" >&2
    exit 1
fi
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "setup: run as root or install sudo (missing: ${missing[*]})" >&2; exit 1; }
    sudo=(sudo)
fi
echo "setup: installing ${missing[*]}"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
