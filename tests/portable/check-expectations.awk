# Checks what each plot of a displaylist-probe dump gave against the corpus's EXPECT.tsv:
#   awk -F '\t' -f check-expectations.awk EXPECT.tsv DUMP
# A plot listed as "error" must be refused with nothing drawn, one listed as "either" may go either
# way, and any other must draw at least one page without an error. Prints each plot that did not,
# and exits 1 if any did not.
FNR == NR {
    if ($1 !~ /^#/ && NF == 2)
        expect[$1] = $2
    next
}

function judge() {
    if (plot == "")
        return
    want = (plot in expect) ? expect[plot] : "draw"
    if (want == "error")
        gave = refused && !pages
    else if (want == "either")
        gave = 1
    else
        gave = !refused && pages > 0
    if (gave)
        return
    printf "%s: should %s, gave %s\n", plot, want, refused ? "an error" : pages " pages"
    failed = 1
}

/^plot / {
    judge()
    plot = substr($0, 6)
    refused = 0
    pages = 0
}
/^error / { refused = 1 }
/^page / { pages++ }

END {
    judge()
    exit failed
}
