#include "tarnwick/browse/EntryListModel.h"

QModelIndex EntryListModel::index(int row, int column, const QModelIndex &parent) const
{
    // The base class asks rowCount() and columnCount() through virtual calls for each index, and
    // laying out the view asks for every row, twice.
    if (parent.isValid() || column != 0 || row < 0 || row >= m_entries.size())
        return {};
    return createIndex(row, column);
}

int EntryListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant EntryListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole
        || !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    return m_entries.at(index.row());
}

void EntryListModel::setEntries(QStringList entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

void EntryListModel::append(const QStringList &entries)
{
    if (entries.isEmpty())
        return;
    const int first = int(m_entries.size());
    beginInsertRows({}, first, first + int(entries.size()) - 1);
    m_entries.append(entries);
    endInsertRows();
}

void EntryListModel::removeMarked(const std::vector<bool> &marked)
{
    // One pass and one reset: removing the rows range by range would move the tail once per range.
    QStringList kept;
    kept.reserve(m_entries.size());
    for (qsizetype row = 0; row < m_entries.size(); ++row) {
        if (qsizetype(marked.size()) <= row || !marked[size_t(row)])
            kept.append(m_entries.at(row));
    }
    if (kept.size() != m_entries.size())
        setEntries(std::move(kept));
}
