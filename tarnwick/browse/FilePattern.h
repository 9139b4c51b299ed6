#pragma once

#include <QString>
#include <QStringList>

/// The file list's pattern as the user typed it: `*` and `?` wildcards, several patterns separated
/// by `;`, matched case-insensitively. Blanks around each pattern are ignored, and `[` or `]` are
/// plain characters. A pattern with nothing to match (empty, blank or only separators) lists every
/// file.
class FilePattern
{
public:
    explicit FilePattern(const QString &text);

    /// True when every name matches: the pattern is empty, or one of its patterns is only stars.
    bool matchesEverything() const { return m_globs.isEmpty(); }
    bool matches(const QString &name) const;
    /// The same for a name that is already case folded; listing folds each name once for sorting too.
    bool matchesFolded(QStringView foldedName) const;

private:
    QStringList m_globs; // case folded
};
