#include "tarnwick/browse/DirList.h"

#include "tarnwick/browse/DirListModel.h"
#include "tarnwick/browse/DirectoryReader.h"
#include "tarnwick/browse/IndentDelegate.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>

DirList::DirList(QWidget *parent)
    : QListView(parent)
    , m_model(new DirListModel(style()->standardIcon(QStyle::SP_DirOpenIcon),
          style()->standardIcon(QStyle::SP_DirClosedIcon), this))
{
    setModel(m_model);
    setItemDelegate(new IndentDelegate(DirListModel::DepthRole, this));
    setEditTriggers(NoEditTriggers);
    connect(this, &QListView::doubleClicked, this, &DirList::open);
}

bool DirList::setPath(const QString &path, QString *error)
{
    if (path.trimmed().isEmpty()) {
        if (error)
            *error = QStringLiteral("No directory was given.");
        return false;
    }
    const QString directory = QDir::cleanPath(QFileInfo(QDir::fromNativeSeparators(path)).absoluteFilePath());
    const DirectoryListing listing
        = DirectoryReader::read(directory, DirectoryReader::EntryKind::Directories);
    if (!listing.isRead()) {
        if (error)
            *error = listing.error;
        return false;
    }
    m_model->show(directory, listing.names);
    setCurrentIndex(m_model->index(m_model->directoryRow()));
    scrollTo(currentIndex());

    const QString shown = QDir::toNativeSeparators(directory);
    if (shown == m_path)
        return true;
    m_path = shown;
    Q_EMIT pathChanged();
    return true;
}

void DirList::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        open(currentIndex());
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

void DirList::open(const QModelIndex &index)
{
    // A directory that has gone since it was listed stays where it was; the beep says so.
    if (index.isValid() && !setPath(m_model->pathAt(index.row())))
        QApplication::beep();
}
