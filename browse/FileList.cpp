#include "browse/FileList.h"

#include <QDir>
#include <QItemSelection>
#include <QStringListModel>

FileList::FileList(QWidget *parent)
    : QListView(parent)
    , m_model(new QStringListModel(this))
{
    setModel(m_model);
    setSelectionMode(ExtendedSelection);
    setEditTriggers(NoEditTriggers);
    connect(this, &QListView::doubleClicked, this, &FileList::entryDoubleClicked);
}

QString FileList::path() const
{
    return m_path;
}

void FileList::setPath(const QString &path)
{
    m_path = path;
    refresh();
}

QString FileList::pattern() const
{
    return m_pattern;
}

void FileList::setPattern(const QString &pattern)
{
    m_pattern = pattern;
    refresh();
}

void FileList::refresh()
{
    const QStringList filters = m_pattern.split(u';', Qt::SkipEmptyParts);
    QDir dir(m_path);
    dir.setNameFilters(filters);
    m_model->setStringList(m_path.isEmpty() ? QStringList() : dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
}

qsizetype FileList::count() const
{
    return m_model->rowCount();
}

QString FileList::entry(qsizetype index) const
{
    return m_model->index(int(index)).data().toString();
}

bool FileList::isSelected(qsizetype index) const
{
    return selectionModel()->isSelected(m_model->index(int(index)));
}

void FileList::setSelected(qsizetype index, bool selected)
{
    selectionModel()->select(m_model->index(int(index)),
                             selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

QList<qsizetype> FileList::selectedRows() const
{
    QList<qsizetype> rows;
    for (const QModelIndex &index : selectionModel()->selectedIndexes())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void FileList::selectRows(const QList<qsizetype> &rows)
{
    QItemSelection selection;
    for (qsizetype row : rows)
        selection.select(m_model->index(int(row)), m_model->index(int(row)));
    selectionModel()->select(selection, QItemSelectionModel::Select);
}
