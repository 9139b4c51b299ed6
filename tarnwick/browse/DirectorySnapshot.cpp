#include "tarnwick/browse/DirectorySnapshot.h"

#include <algorithm>
#include <iterator>

QByteArrayView DirectorySnapshot::rawName(qsizetype entry) const
{
    const qsizetype begin = entry == 0 ? 0 : m_entries[size_t(entry) - 1].end;
    return QByteArrayView(m_rawNames.data() + begin, m_entries[size_t(entry)].end - begin);
}

void DirectorySnapshot::reserveLike(const DirectorySnapshot &other)
{
    m_rawNames.reserve(other.m_rawNames.size());
    m_entries.reserve(other.m_entries.size());
}

void DirectorySnapshot::addEntry(QByteArrayView rawName, qsizetype row)
{
    m_rawNames.append(rawName.data(), size_t(rawName.size()));
    m_entries.push_back({ qsizetype(m_rawNames.size()), row });
}

void DirectorySnapshot::addEntries(const DirectorySnapshot &other, qsizetype count)
{
    if (count == 0)
        return;
    const qsizetype offset = qsizetype(m_rawNames.size());
    m_rawNames.append(other.m_rawNames, 0, size_t(other.m_entries[size_t(count) - 1].end));
    std::transform(other.m_entries.cbegin(), other.m_entries.cbegin() + count, std::back_inserter(m_entries),
        [offset](const Entry &entry) {
            return Entry { offset + entry.end, entry.row };
        });
}
