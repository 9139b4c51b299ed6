#include "tarnwick/browse/SnapshotCursor.h"

#include "tarnwick/browse/DirectorySnapshot.h"

#include <algorithm>

namespace {

// How far past the expected place a name is looked for: a few entries gone together.
constexpr qsizetype LookAhead = 8;
// Misses in a row before the table is built: newcomers come one or a few at a time, while after
// a large block of removals, or in a new order, nearly every entry misses.
constexpr qsizetype MissesBeforeTable = 16;

} // namespace

SnapshotCursor::SnapshotCursor(const DirectorySnapshot &snapshot)
    : m_snapshot(snapshot)
{ }

qsizetype SnapshotCursor::find(QByteArrayView rawName)
{
    qsizetype entry = -1;
    if (m_next < m_snapshot.entryCount() && m_snapshot.rawName(m_next) == rawName)
        entry = m_next;
    else if (m_snapshot.entryCount() > 0)
        entry = findFurtherOn(rawName);
    if (entry < 0 && m_snapshot.entryCount() > 0)
        entry = lookUp(rawName);

    if (inStep() && entry == m_looked)
        ++m_metInStep;
    ++m_looked;
    if (entry < 0) {
        ++m_missesInARow; // a newcomer leaves the expected place where it was
        return -1;
    }
    m_missesInARow = 0;
    m_next = entry + 1;
    return entry;
}

bool SnapshotCursor::metAllInOrder() const
{
    return inStep() && m_looked == m_snapshot.entryCount();
}

qsizetype SnapshotCursor::findFurtherOn(QByteArrayView rawName) const
{
    const qsizetype end = std::min(m_next + 1 + LookAhead, m_snapshot.entryCount());
    for (qsizetype entry = m_next + 1; entry < end; ++entry) {
        if (m_snapshot.rawName(entry) == rawName)
            return entry;
    }
    return -1;
}

qsizetype SnapshotCursor::lookUp(QByteArrayView rawName)
{
    if (!m_tableBuilt && m_missesInARow >= MissesBeforeTable) {
        m_entryOf.reserve(m_snapshot.entryCount());
        for (qsizetype entry = 0; entry < m_snapshot.entryCount(); ++entry)
            m_entryOf.insert(m_snapshot.rawName(entry), entry);
        m_tableBuilt = true;
    }
    return m_entryOf.value(rawName, -1);
}
