#pragma once

#include <QAbstractListModel>
#include <QStringList>
#include <vector>

/// The rows of the file list and the print list: one text a row. Every change is a single model
/// notification, whatever the number of rows it touches.
class EntryListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    QModelIndex index(int row, int column = 0, const QModelIndex &parent = {}) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const QStringList &entries() const { return m_entries; }
    /// Replaces every row.
    void setEntries(QStringList entries);
    /// Adds `entries` after the existing rows.
    void append(const QStringList &entries);
    /// Removes every row whose mark is set; the others keep their order.
    void removeMarked(const std::vector<bool> &marked);

private:
    QStringList m_entries;
};
