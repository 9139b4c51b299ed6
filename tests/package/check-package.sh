#!/usr/bin/env bash
# Builds the Debian package from a build tree with cpack and checks it unpacked (dpkg-deb -x): every
# shipped file and nothing else, owned by root with sound modes, no run paths, stripped binaries,
# manual pages that name every option, a working thumbnailer entry, and the desktop entry, the
# AppStream metadata and the package itself passing their validators.
# Usage: check-package.sh BUILD_DIR PACKAGE_DIR VERSION APP_ID
# A missing tool skips the test (exit status 77), or fails it with TARNWICK_REQUIRE_DESKTOP=1.
set -euo pipefail
build=$1
packages=$2
version=$3
app_id=$4
source=${TARNWICK_SOURCE_DIR:?the source tree}

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
for tool in cpack dpkg-deb dpkg-shlibdeps file readelf desktop-file-validate appstreamcli lintian man; do
    if ! command -v "$tool" >/dev/null; then
        echo "check-package: $tool is not installed; install it with scripts/setup-debian.sh test" >&2
        [ "${TARNWICK_REQUIRE_DESKTOP:-}" = 1 ] && exit 1
        exit 77
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$packages"
rm -f "$packages"/tarnwick_*.deb
if ! (cd "$build" && cpack -G DEB -B "$packages") >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack could not build the package" >&2
    exit 1
fi
deb=$packages/tarnwick_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { cat "$work/cpack.log" >&2; echo "FAIL: no package named $deb" >&2; exit 1; }
echo "package: $deb ($(du -k "$deb" | cut -f1) KiB)"

# The control fields; the dependencies come from the libraries the binaries link.
[ "$(dpkg-deb -f "$deb" Package)" = tarnwick ] || fail "the package is not named tarnwick"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6dbus6 libqt6svg6 libcups2; do
    grep -Eq "(^|, )$library( |,|$)" <<<"$depends" || fail "Depends lacks $library: $depends"
done

# Every file, link and folder belongs to root, as CUPS demands of its filters.
dpkg-deb -c "$deb" >"$work/listing"
if awk '$2 != "root/root"' "$work/listing" | grep .; then
    fail "the entries above are not owned by root"
fi

tree=$work/tree
dpkg-deb -x "$deb" "$tree"
expected="0755 usr/bin/plotconvert
0777 usr/bin/tarnwick
0755 usr/lib/cups/filter/plottopdf
0755 usr/lib/tarnwick/tarnwick
0644 usr/lib/tarnwick/servers/plotviewer_server.so
0755 usr/lib/tarnwick/servers/plotviewer-server
0644 usr/lib/tarnwick/servers/plotviewer-server.json
0644 usr/share/applications/$app_id.desktop
0644 usr/share/cups/mime/tarnwick.convs
0644 usr/share/cups/mime/tarnwick.types
0644 usr/share/dbus-1/services/$app_id.PlotViewer.service
0644 usr/share/doc/tarnwick/changelog.gz
0644 usr/share/doc/tarnwick/copyright
0644 usr/share/icons/hicolor/16x16/apps/tarnwick.png
0644 usr/share/icons/hicolor/24x24/apps/tarnwick.png
0644 usr/share/icons/hicolor/256x256/apps/tarnwick.png
0644 usr/share/icons/hicolor/32x32/apps/tarnwick.png
0644 usr/share/icons/hicolor/48x48/apps/tarnwick.png
0644 usr/share/man/man1/plotconvert.1.gz
0644 usr/share/man/man1/tarnwick.1.gz
0644 usr/share/metainfo/$app_id.metainfo.xml
0644 usr/share/mime/packages/tarnwick.xml
0644 usr/share/thumbnailers/tarnwick.thumbnailer"
expected=$(LC_ALL=C sort -k2 <<<"$expected")
actual=$(cd "$tree" && find . ! -type d -printf '%#m %P\n' | sed 's/^0*\([0-7]\{3\}\) /0\1 /' | LC_ALL=C sort -k2)
if [ "$actual" != "$expected" ]; then
    fail "the package's files differ from the expected ones (- expected, + shipped):"
    diff <(echo "$expected") <(echo "$actual") | grep '^[<>]' | sed 's/^</  -/; s/^>/  +/' >&2 || true
fi
if (cd "$tree" && find . -type d ! -perm 0755) | grep .; then
    fail "the folders above are not mode 0755"
fi
[ "$(readlink -f "$tree/usr/bin/tarnwick")" = "$tree/usr/lib/tarnwick/tarnwick" ] \
    || fail "usr/bin/tarnwick does not lead to usr/lib/tarnwick/tarnwick"

for binary in usr/bin/plotconvert usr/lib/cups/filter/plottopdf usr/lib/tarnwick/tarnwick \
    usr/lib/tarnwick/servers/plotviewer_server.so usr/lib/tarnwick/servers/plotviewer-server; do
    [ -f "$tree/$binary" ] || continue
    readelf -d "$tree/$binary" | grep -E 'RPATH|RUNPATH' && fail "$binary carries a run path"
    file -b "$tree/$binary" | grep -q ', stripped' || fail "$binary is not stripped"
done

# D-Bus starts the plot server from where the package puts it.
grep -qx "Exec=/usr/lib/tarnwick/servers/plotviewer-server --session-bus" \
    "$tree/usr/share/dbus-1/services/$app_id.PlotViewer.service" \
    || fail "the D-Bus service does not start /usr/lib/tarnwick/servers/plotviewer-server"

# The thumbnailer entry's command, run from the package as a file manager would.
exec_line=$(sed -n 's/^Exec=//p' "$tree/usr/share/thumbnailers/tarnwick.thumbnailer")
read -r -a command <<<"$exec_line"
for i in "${!command[@]}"; do
    case "${command[$i]}" in
        %s) command[$i]=128 ;;
        %i) command[$i]=$source/samples/drawing.plt ;;
        %o) command[$i]=$work/thumbnail.png ;;
    esac
done
if ! PATH=$tree/usr/bin:$PATH QT_QPA_PLATFORM=offscreen "${command[@]}" >"$work/thumbnailer.log" 2>&1; then
    fail "the thumbnailer command failed: $(cat "$work/thumbnailer.log")"
elif ! file -b "$work/thumbnail.png" | grep -q '^PNG image data, 128 x\|x 128,'; then
    fail "the thumbnailer wrote no 128-pixel PNG: $(file -b "$work/thumbnail.png")"
fi

# Each manual page renders without complaint; plotconvert's names every option its --help lists.
for page in tarnwick plotconvert; do
    said=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$tree/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [ -z "$said" ] || fail "man $page: $said"
done
manual=$(zcat "$tree/usr/share/man/man1/plotconvert.1.gz" | sed 's/\\-/-/g')
options=$(QT_QPA_PLATFORM=offscreen "$tree/usr/bin/plotconvert" --help | grep -o -- '--[a-z-]*' | sort -u)
[ -n "$options" ] || fail "plotconvert --help lists no options"
for option in $options; do
    grep -q -- "$option" <<<"$manual" || fail "the plotconvert manual page does not mention $option"
done

desktop-file-validate "$tree/usr/share/applications/$app_id.desktop" >"$work/desktop.log" 2>&1 \
    && ! grep -q . "$work/desktop.log" || fail "desktop-file-validate: $(cat "$work/desktop.log")"
appstreamcli validate --no-net --explain "$tree/usr/share/metainfo/$app_id.metainfo.xml" >"$work/appstream.log" 2>&1 \
    || fail "appstreamcli validate: $(cat "$work/appstream.log")"
# The tree check also finds the desktop entry the metadata launches.
appstreamcli validate-tree --no-net --explain "$tree" >"$work/appstream.log" 2>&1 \
    || fail "appstreamcli validate-tree: $(cat "$work/appstream.log")"
grep -q "<release version=\"$version\"" "$tree/usr/share/metainfo/$app_id.metainfo.xml" \
    || fail "the AppStream metadata does not name release $version"

lintian --fail-on error,warning --no-tag-display-limit "$deb" >"$work/lintian.log" 2>&1 \
    || fail "lintian: $(cat "$work/lintian.log")"

[ "$failures" -eq 0 ] || { echo "check-package: $failures failures" >&2; exit 1; }
echo "check-package: $deb holds what it should"
