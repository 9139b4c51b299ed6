#!/usr/bin/env bash
# Checks how GIO types files with the plot MIME rules: every corpus plot as a plot (HP-GL, or PCL,
# which the thumbnailer also claims), and the other files that share their names (gnuplot scripts,
# C++ headers, FutureSplash movies, text) as what they are.
# Usage: check-mime-types.sh [MIME_PACKAGE]
# With MIME_PACKAGE (resources/tarnwick-mime.xml), the rules are put into a MIME database of the
# test's own; without it, the system's database is used, as the installed package left it. The
# corpus is TARNWICK_CORPUS_DIR, else shared/corpus/files beside the source tree.
# Skipped (77) without gio or the corpus.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source=${TARNWICK_SOURCE_DIR:-$(cd "$here/../.." && pwd)}
corpus=${TARNWICK_CORPUS_DIR:-$source/../shared/corpus/files}
package=${1:-}
command -v gio >/dev/null || { echo "check-mime-types: gio is not installed (libglib2.0-bin)" >&2; exit 77; }
[ -d "$corpus" ] || { echo "check-mime-types: no corpus at $corpus" >&2; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -n "$package" ]; then
    mkdir -p "$work/data/mime/packages"
    cp "$package" "$work/data/mime/packages/tarnwick.xml"
    update-mime-database "$work/data/mime" >/dev/null 2>&1
    export XDG_DATA_HOME=$work/data
fi

type_of() {
    gio info -a standard::content-type "$1" 2>/dev/null | sed -n 's/^ *standard::content-type: //p'
}

failures=0
for file in "$corpus"/*; do
    type=$(type_of "$file")
    case "$type" in
        application/vnd.hp-hpgl | application/vnd.hp-pcl) ;;
        *) echo "FAIL: the plot $(basename "$file") is typed ${type:-as nothing}" >&2; failures=$((failures + 1)) ;;
    esac
done

# Files that share the plots' names but are not plots.
others=$work/others
mkdir "$others"
printf '# gnuplot\nset terminal png\nplot sin(x)\n' >"$others/sine.plt"
printf 'set output "a.png"\nplot "data.dat" using 1:2 with lines\n' >"$others/data.plt"
printf 'reset\nIN = 3\nplot IN*x\n' >"$others/variables.plt"
printf '#ifndef SHAPES_HP\n#define SHAPES_HP\nclass Shape;\n#endif\n' >"$others/shapes.hp"
printf '// Pen plotter driver\nint SP1(void);\n' >"$others/driver.hp"
printf 'FWS\x04\x20\x00\x00\x00\x78\x00\x05' >"$others/movie.spl"
printf 'IN; is how a plot starts, these notes say.\n' >"$others/notes.txt"
expect() {
    local type
    type=$(type_of "$others/$1")
    [ "$type" = "$2" ] || { echo "FAIL: $1 is typed ${type:-as nothing}, not $2" >&2; failures=$((failures + 1)); }
}
expect sine.plt text/plain
expect data.plt text/plain
expect variables.plt text/plain
expect shapes.hp text/x-c++hdr
expect driver.hp text/x-c++hdr
expect movie.spl application/vnd.adobe.flash.movie
expect notes.txt text/plain

[ "$failures" -eq 0 ] || exit 1
echo "every corpus plot is typed as a plot, and the other files as what they are"
