#include "browse/DirList.h"

#include <QDir>
#include <QKeyEvent>
#include <QStringListModel>

DirList::DirList(QWidget *parent)
    : QListView(parent)
    , m_model(new QStringListModel(this))
{
    setModel(m_model);
    setEditTriggers(NoEditTriggers);
    connect(this, &QListView::doubleClicked, this, &DirList::open);
}

QString DirList::path() const
{
    return m_path;
}

bool DirList::setPath(const QString &path, QString *error)
{
    const QDir dir(path);
    if (path.isEmpty() || !dir.exists()) {
        if (error)
            *error = QStringLiteral("The directory \"%1\" does not exist.").arg(path);
        return false;
    }
    const QString canonical = QDir::toNativeSeparators(dir.absolutePath());
    QStringList rows;
    m_targets.clear();
    QStringList ancestors;
    for (QDir up = dir; ; ) {
        ancestors.prepend(QDir::toNativeSeparators(up.absolutePath()));
        if (!up.cdUp())
            break;
    }
    for (qsizetype depth = 0; depth < ancestors.size(); ++depth) {
        const QString name = depth == 0 ? ancestors.at(depth) : QDir(ancestors.at(depth)).dirName();
        rows.append(QString(int(depth) * 2, u' ') + name);
        m_targets.append(ancestors.at(depth));
    }
    const QStringList children = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString &child : children) {
        rows.append(QString(int(ancestors.size()) * 2, u' ') + child);
        m_targets.append(QDir::toNativeSeparators(dir.absoluteFilePath(child)));
    }
    m_model->setStringList(rows);
    setCurrentIndex(m_model->index(int(ancestors.size()) - 1));
    const bool changed = canonical != m_path;
    m_path = canonical;
    if (changed)
        Q_EMIT pathChanged();
    return true;
}

void DirList::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        open(currentIndex());
        return;
    }
    QListView::keyPressEvent(event);
}

void DirList::open(const QModelIndex &index)
{
    if (index.isValid() && index.row() < m_targets.size())
        setPath(m_targets.at(index.row()));
}
