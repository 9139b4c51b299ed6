#pragma once

#include <QByteArrayView>
#include <QHash>

class DirectorySnapshot;

/// Finds the entries of a new reading of a directory among those of a snapshot of it. A directory
/// lists its entries in the same order each time but for those that came or went, so each entry
/// is looked for where the last one was found, then a little further on; only when many entries in
/// a row are not found there (many gone at once, or an order that changed) are the snapshot's names
/// looked up in a table.
class SnapshotCursor
{
public:
    explicit SnapshotCursor(const DirectorySnapshot &snapshot);

    /// The snapshot's entry with this raw name, or -1 where it holds none.
    qsizetype find(QByteArrayView rawName);
    /// True while each entry looked for was the snapshot's next one.
    bool inStep() const { return m_metInStep == m_looked; }
    /// How many entries were looked for before the first that was not in step.
    qsizetype metInStep() const { return m_metInStep; }
    /// True when the entries looked for are exactly the snapshot's, in its order.
    bool metAllInOrder() const;

private:
    qsizetype findFurtherOn(QByteArrayView rawName) const;
    qsizetype lookUp(QByteArrayView rawName);

    const DirectorySnapshot &m_snapshot;
    qsizetype m_next = 0; // where the next entry is expected
    qsizetype m_looked = 0; // entries looked for so far
    qsizetype m_metInStep = 0;
    qsizetype m_missesInARow = 0;
    QHash<QByteArrayView, qsizetype> m_entryOf; // built once many misses came in a row
    bool m_tableBuilt = false;
};
