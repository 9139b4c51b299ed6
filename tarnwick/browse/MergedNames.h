#pragma once

#include <QStringList>
#include <vector>

/// A name with its case-folded form, the key it sorts by.
struct FoldedName
{
    QString folded;
    QString name;
};

/// A listing merged with the names that came since, and where each name went.
struct MergedNames
{
    QStringList names;
    std::vector<qsizetype> rowOfKnown; ///< the row of each known name, -1 for those gone
    std::vector<qsizetype> rowOfNewcomer; ///< the row of each newcomer, in the order given
};

/// Names sorted case-insensitively, names that differ only in case by their exact text: `known`,
/// already in that order, less the rows whose `stillThere` mark is unset, with `newcomers` sorted
/// and merged in. The same as sorting them all afresh, but a listing that changed little costs
/// linear time. A newcomer equal to a known name takes that name's row, marked or not.
MergedNames mergedNames(
    const QStringList &known, std::vector<bool> stillThere, std::vector<FoldedName> newcomers);
