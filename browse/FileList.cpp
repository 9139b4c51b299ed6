#include "browse/FileList.h"

#include "browse/DirectoryReader.h"
#include "browse/EntryListModel.h"
#include "browse/FilePattern.h"

#include <QSet>

FileList::FileList(QWidget *parent)
    : EntryListView(parent)
{
    connect(this, &QListView::doubleClicked, this, &FileList::entryDoubleClicked);
}

void FileList::setPath(const QString &path)
{
    m_path = path;
    entryModel().setEntries(readEntries());
}

void FileList::setPattern(const QString &pattern)
{
    m_pattern = pattern;
    entryModel().setEntries(readEntries());
}

void FileList::refresh()
{
    QSet<QString> selected;
    for (qsizetype row : selectedRows())
        selected.insert(entry(row));
    const QString current = currentIndex().data().toString();

    entryModel().setEntries(readEntries());

    QList<qsizetype> reselected;
    for (qsizetype row = 0; row < count(); ++row) {
        const QString &name = entries().at(row);
        if (selected.contains(name))
            reselected.append(row);
        if (name == current)
            selectionModel()->setCurrentIndex(model()->index(int(row), 0), QItemSelectionModel::NoUpdate);
    }
    selectRows(reselected);
}

QStringList FileList::readEntries() const
{
    if (m_path.isEmpty())
        return {};
    const FilePattern pattern(m_pattern);
    // A directory that cannot be read simply lists nothing: the directory list reports bad paths.
    return DirectoryReader::read(m_path, DirectoryReader::EntryKind::Files, [&pattern](QStringView folded) {
        return pattern.matchesFolded(folded);
    }).names;
}
