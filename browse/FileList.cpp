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
    QStringList fresh = readEntries(entries());
    if (fresh == entries())
        return;
    QSet<QString> selected;
    for (qsizetype row : selectedRows())
        selected.insert(entry(row));
    const QString current = currentIndex().data().toString();

    entryModel().setEntries(std::move(fresh));
    if (selected.isEmpty() && current.isEmpty())
        return;

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

QStringList FileList::readEntries(const QStringList &known) const
{
    if (m_path.isEmpty())
        return {};
    const FilePattern pattern(m_pattern);
    // A directory that cannot be read simply lists nothing: the directory list reports bad paths.
    const auto matches = [&pattern](QStringView folded) { return pattern.matchesFolded(folded); };
    return DirectoryReader::read(m_path, DirectoryReader::EntryKind::Files, matches, known).names;
}
