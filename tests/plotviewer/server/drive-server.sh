#!/bin/sh
# What a script does with the plot server on the session bus: open a plot, set a colour mode, save a
# picture, count the pages and release the document; then shows that a released document is gone,
# that two opens never share one, and that a failing member is an error. tst_sessionbus runs it.
set -eu
dest=$BUS_NAME
server=$SERVER_PATH
path_of() { sed -n "s/^(objectpath '\(.*\)',)\$/\1/p"; }
doc=$(gdbus call --session --dest "$dest" --object-path "$server" --method "$dest.Open" "$PLOT" | path_of)
other=$(gdbus call --session --dest "$dest" --object-path "$server" --method "$dest.Open" "$PLOT" | path_of)
[ -n "$doc" ] && [ "$doc" != "$other" ] || { echo "two opens gave '$doc' and '$other'"; exit 1; }
gdbus call --session --dest "$dest" --object-path "$doc" --method "$dest.Document.SetColorMode" 2
gdbus call --session --dest "$dest" --object-path "$doc" --method "$dest.Document.SaveTo" "$OUT"
echo "pages $(gdbus call --session --dest "$dest" --object-path "$doc" --method "$dest.Document.PageCount")"
gdbus call --session --dest "$dest" --object-path "$doc" --method "$dest.Document.Release"
if gdbus call --session --dest "$dest" --object-path "$doc" --method "$dest.Document.PageCount" 2>/dev/null; then
    echo "a released document still answers"; exit 1
fi
if gdbus call --session --dest "$dest" --object-path "$server" --method "$dest.Open" "$MISSING" 2>"$ERRORS"; then
    echo "a missing plot opened"; exit 1
fi
echo done
