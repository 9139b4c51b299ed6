#!/usr/bin/env bash
# Renders every plot of the shared corpus and the samples twice, with our plotconvert and with
# hp2xx, into one HTML page with the two pictures side by side, to see where the renderers differ.
# Usage: gallery.sh [output-folder] [plot files...]   (default: build/gallery, corpus and samples)
# TARNWICK_CORPUS_DIR names the corpus folder when it is not ../shared/corpus/files.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TARNWICK_BUILD_DIR:-$root/build}
out=${1:-$build/gallery}
[ $# -gt 0 ] && shift
size=${TARNWICK_GALLERY_SIZE:-480}

"$root/scripts/setup-debian.sh" gallery
"$root/scripts/build.sh" plotconvert >/dev/null

plots=("$@")
if [ ${#plots[@]} -eq 0 ]; then
    corpus=${TARNWICK_CORPUS_DIR:-$root/../shared/corpus/files}
    [ -d "$corpus" ] || echo "gallery: no corpus at $corpus (set TARNWICK_CORPUS_DIR); samples only" >&2
    shopt -s nullglob
    plots=("$corpus"/* "$root"/samples/*.plt)
fi

mkdir -p "$out/ours" "$out/hp2xx"
html() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g'; }
page="$out/index.html"
{
    echo '<!DOCTYPE html><html><head><meta charset="utf-8"><title>Plot gallery</title><style>'
    echo 'body{font-family:sans-serif}td{vertical-align:top;padding:4px;border-bottom:1px solid #ccc}'
    echo "img{max-width:${size}px;max-height:${size}px;border:1px solid #ddd}pre{white-space:pre-wrap;max-width:${size}px}"
    echo '</style></head><body><h1>Our pictures beside hp2xx</h1>'
    echo "<p>$(date -u '+%Y-%m-%d %H:%M UTC'), $(git -C "$root" describe --always --dirty 2>/dev/null || echo unknown)</p>"
    echo '<table><tr><th>file</th><th>plotconvert</th><th>hp2xx</th></tr>'
} >"$page"

for plot in "${plots[@]}"; do
    [ -f "$plot" ] || continue
    name=$(basename "$plot")
    ours="ours/$name.png"
    theirs="hp2xx/$name.png"
    ourCell="<img src=\"$ours\" alt=\"\">"
    if ! message=$("$build/bin/plotconvert" --size="${size}x${size}" "$plot" "$out/$ours" 2>&1); then
        ourCell="<pre>$(printf '%s' "$message" | grep -v '^QStandardPaths' | html)</pre>"
    fi
    # hp2xx writes a multi-page plot as name.png, name.1.png, ...: the first page is compared.
    theirCell=""
    message=$(timeout 60 hp2xx -q -m png -d 100 -f "$out/$theirs" "$plot" 2>&1) || true
    [ -s "$out/$theirs" ] && theirCell="<img src=\"$theirs\" alt=\"\">"
    [ -n "$message" ] && theirCell+="<pre>$(printf '%s' "$message" | tail -5 | html)</pre>"
    [ -n "$theirCell" ] || theirCell="<pre>hp2xx drew nothing</pre>"
    echo "<tr><td>$(printf '%s' "$name" | html)</td><td>$ourCell</td><td>$theirCell</td></tr>" >>"$page"
done

echo '</table></body></html>' >>"$page"
echo "gallery: $page"
