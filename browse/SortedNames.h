#pragma once

#include <QStringList>
#include <vector>

/// A name with its case-folded form, the key it sorts by.
struct FoldedName
{
    QString folded;
    QString name;
};

/// The names sorted case-insensitively, names that differ only in case by their exact text.
///
/// `known` is an earlier result of this order: names still there keep their place and only the
/// newcomers are sorted and merged in, so a set that changed little costs linear time, not a full
/// sort. When the names are exactly `known`, `known` itself is returned (same shared data).
QStringList sortedNames(std::vector<FoldedName> names, const QStringList &known = {});
