#include "browse/SortedNames.h"

#include <QHash>
#include <algorithm>

namespace {

bool precedes(const FoldedName &a, const QString &bFolded, const QString &bName)
{
    // Keys folded once compare several times faster than case-insensitive comparisons.
    const int order = a.folded.compare(bFolded);
    return order != 0 ? order < 0 : a.name < bName;
}

void sortInPlace(std::vector<FoldedName> &names)
{
    std::sort(names.begin(), names.end(),
        [](const FoldedName &a, const FoldedName &b) { return precedes(a, b.folded, b.name); });
}

/// `kept` and `newcomers`, each in order, merged.
QStringList merged(const QStringList &kept, std::vector<FoldedName> &newcomers)
{
    QStringList all;
    all.reserve(kept.size() + qsizetype(newcomers.size()));
    auto from = kept.cbegin();
    for (FoldedName &newcomer : newcomers) {
        const auto place = std::upper_bound(from, kept.cend(), newcomer,
            [](const FoldedName &a, const QString &name) { return precedes(a, name.toCaseFolded(), name); });
        std::copy(from, place, std::back_inserter(all));
        from = place;
        all.append(std::move(newcomer.name));
    }
    std::copy(from, kept.cend(), std::back_inserter(all));
    return all;
}

} // namespace

QStringList sortedNames(std::vector<FoldedName> names, const QStringList &known)
{
    if (known.isEmpty()) {
        sortInPlace(names);
        return merged({}, names);
    }

    QHash<QStringView, size_t> indexOf;
    indexOf.reserve(qsizetype(names.size()));
    for (size_t i = 0; i < names.size(); ++i)
        indexOf.insert(names[i].name, i);
    std::vector<bool> isKnown(names.size(), false);
    QStringList kept;
    kept.reserve(known.size());
    for (const QString &name : known) {
        const auto found = indexOf.constFind(name);
        if (found == indexOf.cend())
            continue;
        isKnown[*found] = true;
        kept.append(name);
    }
    if (kept.size() == known.size() && size_t(kept.size()) == names.size())
        return known;

    std::vector<FoldedName> newcomers;
    for (size_t i = 0; i < names.size(); ++i) {
        if (!isKnown[i])
            newcomers.push_back(std::move(names[i]));
    }
    sortInPlace(newcomers);
    return merged(kept, newcomers);
}
