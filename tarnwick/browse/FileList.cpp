#include "tarnwick/browse/FileList.h"

#include "tarnwick/base/FullPath.h"
#include "tarnwick/browse/DirectoryReader.h"
#include "tarnwick/browse/EntryListModel.h"
#include "tarnwick/browse/FilePattern.h"

FileList::FileList(QWidget *parent)
    : EntryListView(parent)
{
    connect(this, &QListView::doubleClicked, this, &FileList::entryDoubleClicked);
}

void FileList::setPath(const QString &path)
{
    m_path = path;
    list();
}

void FileList::setPattern(const QString &pattern)
{
    m_pattern = pattern;
    list();
}

void FileList::refresh()
{
    const DirectoryListing listing = reread();
    if (listing.names == entries())
        return;
    const QList<qsizetype> selected = selectedRows();
    const QModelIndex current = currentIndex();
    Q_ASSERT(listing.rowOfEarlier.empty() || listing.rowOfEarlier.size() == size_t(count()));

    entryModel().setEntries(listing.names);
    if (listing.rowOfEarlier.empty())
        return; // nothing is left from before
    if (current.isValid()) {
        if (const qsizetype row = listing.rowOfEarlier[size_t(current.row())]; row >= 0)
            selectionModel()->setCurrentIndex(model()->index(int(row), 0), QItemSelectionModel::NoUpdate);
    }
    QList<qsizetype> reselected;
    reselected.reserve(selected.size());
    for (qsizetype row : selected) {
        if (const qsizetype now = listing.rowOfEarlier[size_t(row)]; now >= 0)
            reselected.append(now);
    }
    selectRows(reselected);
}

QStringList FileList::selectedPaths() const
{
    const QList<qsizetype> rows = selectedRows();
    QStringList paths;
    paths.reserve(rows.size());
    for (qsizetype row : rows)
        paths.append(fullPath(m_path, entries().at(row)));
    return paths;
}

void FileList::list()
{
    m_snapshot = {};
    entryModel().setEntries(reread().names);
}

DirectoryListing FileList::reread()
{
    if (m_path.isEmpty())
        return {};
    const FilePattern pattern(m_pattern);
    DirectoryReader::NameFilter matches;
    if (!pattern.matchesEverything())
        matches = [&pattern](QStringView folded) { return pattern.matchesFolded(folded); };
    // A directory that cannot be read simply lists nothing: the directory list reports bad paths.
    return DirectoryReader::reread(m_path, DirectoryReader::EntryKind::Files, matches, m_snapshot);
}
