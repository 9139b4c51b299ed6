#include "tarnwick/browse/DirListModel.h"

#include <QDir>
#include <QFileInfo>

namespace {

QStringList ancestorsOf(const QString &directory)
{
    QStringList paths { directory };
    for (QString parent = QFileInfo(directory).path(); parent != paths.first();
         parent = QFileInfo(parent).path())
        paths.prepend(parent);
    return paths;
}

QString childPath(const QString &directory, const QString &name)
{
    return directory.endsWith(u'/') ? directory + name : directory + u'/' + name;
}

} // namespace

DirListModel::DirListModel(QIcon openFolder, QIcon closedFolder, QObject *parent)
    : QAbstractListModel(parent)
    , m_openFolder(std::move(openFolder))
    , m_closedFolder(std::move(closedFolder))
{ }

int DirListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_ancestors.size() + m_subdirectories.size());
}

QVariant DirListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int row = index.row();
    const bool isAncestor = row < m_ancestors.size();
    switch (role) {
    case Qt::DisplayRole:
        if (row == 0)
            return QDir::toNativeSeparators(m_ancestors.first());
        return isAncestor ? QFileInfo(m_ancestors.at(row)).fileName()
                          : m_subdirectories.at(row - m_ancestors.size());
    case Qt::DecorationRole:
        return isAncestor ? m_openFolder : m_closedFolder;
    case DepthRole:
        return isAncestor ? row : int(m_ancestors.size());
    default:
        return {};
    }
}

void DirListModel::show(const QString &directory, const QStringList &subdirectories)
{
    beginResetModel();
    m_ancestors = ancestorsOf(directory);
    m_subdirectories = subdirectories;
    endResetModel();
}

QString DirListModel::pathAt(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    if (row < m_ancestors.size())
        return m_ancestors.at(row);
    return childPath(m_ancestors.last(), m_subdirectories.at(row - m_ancestors.size()));
}
