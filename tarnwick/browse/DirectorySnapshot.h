#pragma once

#include <QByteArrayView>
#include <QStringList>
#include <string>
#include <vector>

/// What one reading of a directory met: the listing, and every entry of the wanted kind in the
/// directory's own order, by its raw name, with its row in the listing. The next reading with the
/// same kind and filter takes the entries it meets again from here instead of decoding, folding and
/// matching their names afresh (see DirectoryReader::reread).
class DirectorySnapshot
{
public:
    /// The row of an entry the listing leaves out: hidden, refused by the filter, or undecodable.
    static constexpr qsizetype LeftOut = -1;

    /// The listing, sorted as mergedNames() sorts.
    const QStringList &names() const { return m_names; }
    void setNames(QStringList names) { m_names = std::move(names); }

    /// The number of entries met, those left out included.
    qsizetype entryCount() const { return qsizetype(m_entries.size()); }
    QByteArrayView rawName(qsizetype entry) const;
    /// The entry's row in names(), or LeftOut.
    qsizetype row(qsizetype entry) const { return m_entries[size_t(entry)].row; }

    /// Makes room for as many entries as `other` holds.
    void reserveLike(const DirectorySnapshot &other);
    void addEntry(QByteArrayView rawName, qsizetype row);
    /// Adds the first `count` entries of `other`.
    void addEntries(const DirectorySnapshot &other, qsizetype count);
    void setRow(qsizetype entry, qsizetype row) { m_entries[size_t(entry)].row = row; }

private:
    struct Entry
    {
        qsizetype end; // where its raw name ends in m_rawNames
        qsizetype row;
    };

    QStringList m_names;
    std::string m_rawNames; // one after the other
    std::vector<Entry> m_entries;
};
