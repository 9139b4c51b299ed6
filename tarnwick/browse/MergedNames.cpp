#include "tarnwick/browse/MergedNames.h"

#include <algorithm>

namespace {

bool precedes(const FoldedName &a, const QString &bFolded, const QString &bName)
{
    // Keys folded once compare several times faster than case-insensitive comparisons.
    const int order = a.folded.compare(bFolded);
    return order != 0 ? order < 0 : a.name < bName;
}

bool precedesKnown(const FoldedName &a, const QString &known)
{
    return precedes(a, known.toCaseFolded(), known);
}

/// The first row from `from` on that `newcomer` precedes. Galloping from `from`: a few newcomers
/// cost a few comparisons each, as many newcomers as known names cost a few comparisons a row.
qsizetype placeOf(const FoldedName &newcomer, const QStringList &known, qsizetype from)
{
    qsizetype after = from; // the known names before this one precede the newcomer or equal it
    qsizetype step = 1;
    qsizetype probe = from;
    while (probe < known.size() && !precedesKnown(newcomer, known.at(probe))) {
        after = probe + 1;
        probe += step;
        step *= 2;
    }
    const auto end = known.cbegin() + std::min(probe, known.size());
    return std::upper_bound(known.cbegin() + after, end, newcomer,
               [](const FoldedName &a, const QString &name) { return precedesKnown(a, name); })
        - known.cbegin();
}

} // namespace

MergedNames mergedNames(
    const QStringList &known, std::vector<bool> stillThere, std::vector<FoldedName> newcomers)
{
    // Sorting light keys moves less than half the bytes that sorting the names themselves would.
    struct Key
    {
        QStringView folded;
        size_t newcomer;
    };
    std::vector<Key> order;
    order.reserve(newcomers.size());
    for (size_t i = 0; i < newcomers.size(); ++i)
        order.push_back({ newcomers[i].folded, i });
    std::sort(order.begin(), order.end(), [&newcomers](const Key &a, const Key &b) {
        const int byKey = a.folded.compare(b.folded);
        return byKey != 0 ? byKey < 0 : newcomers[a.newcomer].name < newcomers[b.newcomer].name;
    });

    // Places every name first, then fills the rows: taking the newcomers in the order given rather
    // than sorted reads their scattered memory in order.
    MergedNames merged;
    merged.rowOfKnown.assign(size_t(known.size()), -1);
    merged.rowOfNewcomer.resize(newcomers.size());
    qsizetype rows = 0;
    qsizetype next = 0; // the first known row not placed yet
    const auto placeKnownUpTo = [&](qsizetype end) {
        for (; next < end; ++next) {
            if (stillThere[size_t(next)])
                merged.rowOfKnown[size_t(next)] = rows++;
        }
    };
    for (const Key &key : order) {
        qsizetype place = known.size();
        bool isKnown = false;
        if (next < known.size()) {
            const FoldedName &newcomer = newcomers[key.newcomer];
            place = placeOf(newcomer, known, next);
            // Not new after all: the reading did not recognise a known name.
            isKnown = place > next && known.at(place - 1) == newcomer.name;
            if (isKnown)
                stillThere[size_t(place - 1)] = true;
        }
        placeKnownUpTo(place);
        merged.rowOfNewcomer[key.newcomer] = isKnown ? merged.rowOfKnown[size_t(place - 1)] : rows++;
    }
    placeKnownUpTo(known.size());

    merged.names.resize(rows);
    for (qsizetype row = 0; row < known.size(); ++row) {
        if (const qsizetype now = merged.rowOfKnown[size_t(row)]; now >= 0)
            merged.names[now] = known.at(row);
    }
    for (size_t i = 0; i < newcomers.size(); ++i)
        merged.names[merged.rowOfNewcomer[i]] = std::move(newcomers[i].name);
    return merged;
}
