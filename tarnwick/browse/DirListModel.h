#pragma once

#include <QAbstractListModel>
#include <QIcon>
#include <QStringList>

/// The rows of the directory list: the directory's ancestors from the root down, the directory
/// itself, then its subdirectories one level deeper.
class DirListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    /// The row's depth in the tree, for indenting it.
    static constexpr int DepthRole = Qt::UserRole + 1;

    DirListModel(QIcon openFolder, QIcon closedFolder, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    /// Shows `directory` (absolute, clean, '/' separators) with `subdirectories` (names, sorted).
    void show(const QString &directory, const QStringList &subdirectories);
    /// The absolute path a row opens, '/' separators.
    QString pathAt(int row) const;
    /// The row of the directory shown.
    int directoryRow() const { return int(m_ancestors.size()) - 1; }

private:
    QStringList m_ancestors; // paths from the root down to the directory itself
    QStringList m_subdirectories; // names
    QIcon m_openFolder;
    QIcon m_closedFolder;
};
