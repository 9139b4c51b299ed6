#include "tarnwick/browse/FilePattern.h"

#include <algorithm>

namespace {

// Linear in the name for each `*`: on a mismatch the last star takes one more character.
bool globMatches(QStringView glob, QStringView name)
{
    qsizetype g = 0;
    qsizetype n = 0;
    qsizetype starGlob = -1;
    qsizetype starName = 0;
    while (n < name.size()) {
        if (g < glob.size() && glob.at(g) == u'*') {
            starGlob = g++;
            starName = n;
        } else if (g < glob.size() && (glob.at(g) == u'?' || glob.at(g) == name.at(n))) {
            ++g;
            ++n;
        } else if (starGlob >= 0) {
            g = starGlob + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (g < glob.size() && glob.at(g) == u'*')
        ++g;
    return g == glob.size();
}

} // namespace

FilePattern::FilePattern(const QString &text)
{
    for (const QStringView piece : QStringView(text).split(u';')) {
        const QStringView glob = piece.trimmed();
        if (glob.isEmpty())
            continue;
        if (std::all_of(glob.begin(), glob.end(), [](QChar c) { return c == u'*'; })) {
            m_globs.clear(); // this one takes every name, whatever the others refuse
            return;
        }
        m_globs.append(glob.toString().toCaseFolded());
    }
}

bool FilePattern::matches(const QString &name) const
{
    return matchesFolded(name.toCaseFolded());
}

bool FilePattern::matchesFolded(QStringView foldedName) const
{
    if (m_globs.isEmpty())
        return true;
    for (const QString &glob : m_globs) {
        if (globMatches(glob, foldedName))
            return true;
    }
    return false;
}
