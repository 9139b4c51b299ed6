#include "browse/DriveList.h"

#include <QDir>

DriveList::DriveList(std::shared_ptr<VolumeSource> volumes, QWidget *parent)
    : QComboBox(parent)
    , m_volumes(std::move(volumes))
    , m_shown(m_volumes->volumes())
{
    for (const Volume &volume : std::as_const(m_shown)) {
        const bool named = !volume.name.isEmpty() && volume.name != volume.rootPath;
        addItem(named ? QStringLiteral("%1  [%2]").arg(volume.rootPath, volume.name) : volume.rootPath);
    }
    const QString current = driveOf(QDir::toNativeSeparators(QDir::currentPath()));
    for (qsizetype i = 0; i < m_shown.size(); ++i) {
        if (m_shown.at(i).rootPath == current)
            setCurrentIndex(int(i));
    }
    connect(this, &QComboBox::currentIndexChanged, this, &DriveList::driveChanged);
}

QString DriveList::drive() const
{
    const int index = currentIndex();
    return index >= 0 && index < m_shown.size() ? m_shown.at(index).rootPath : QString();
}

void DriveList::setDrive(const QString &rootPath)
{
    for (qsizetype i = 0; i < m_shown.size(); ++i) {
        if (m_shown.at(i).rootPath == rootPath) {
            setCurrentIndex(int(i));
            return;
        }
    }
}

QString DriveList::driveOf(const QString &path) const
{
    return volumeRootOf(m_shown, path);
}

bool DriveList::makeCurrent(const QString &rootPath, QString *error) const
{
    return m_volumes->makeCurrent(rootPath, error);
}
