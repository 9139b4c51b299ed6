# Compares two displaylist-probe dumps line by line: awk -f compare-dumps.awk DUMP OTHER-DUMP.
# Lines, words and names must be the same. Numbers may differ in their last bits, as hypot, sin, cos,
# acos and atan2 round differently in glibc and in the MinGW-w64 runtime (each within an ulp or so,
# the differences then carried through the arithmetic), by at most `tolerance` of the larger of the
# two, or of 1 near zero: far below a plotter unit, and far above that noise.
# Prints one line saying how the dumps compare; exits 1 at the first difference beyond that.
BEGIN {
    tolerance = 1e-9
    number = "^-?[0-9]+(\\.[0-9]+)?(e[-+]?[0-9]+)?$"
    other = ARGV[2]
    ARGV[2] = ""
}

function magnitude(x) { return x < 0 ? -x : x }

function differ(why, line) {
    printf "%s at line %d, in %s:\n    %s\n    %s\n", why, line, plot, $0, theirs
    failed = 1
    exit 1
}

/^plot / { plot = substr($0, 6) }

{
    if ((getline theirs < other) <= 0) {
        theirs = "(the end of " other ")"
        differ("one dump ends early", NR)
    }
    if ($0 == theirs)
        next
    if (split(theirs, word, " ") != NF)
        differ("different words", NR)
    for (i = 1; i <= NF; i++) {
        if ($i == word[i])
            continue
        if ($i !~ number || word[i] !~ number)
            differ("different words", NR)
        a = $i + 0
        b = word[i] + 0
        scale = magnitude(a) > magnitude(b) ? magnitude(a) : magnitude(b)
        off = magnitude(a - b) / (scale > 1 ? scale : 1)
        if (off > tolerance)
            differ(sprintf("numbers differ by %g of their size", off), NR)
        if (!(plot in drifted))
            plots++
        drifted[plot] = 1
        numbers++
        if (off > worst)
            worst = off
    }
}

END {
    if (failed)
        exit 1
    if ((getline theirs < other) > 0) {
        $0 = "(the end of " FILENAME ")"
        differ("one dump ends early", NR + 1)
    }
    if (numbers == 0)
        print "identical"
    else
        printf "equal but for the last bits of %d numbers in %d plot%s (at most %.1e of their size; allowed %g)\n",
            numbers, plots, plots == 1 ? "" : "s", worst, tolerance
}
