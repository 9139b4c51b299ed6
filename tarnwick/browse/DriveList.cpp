#include "tarnwick/browse/DriveList.h"

#include <QDir>
#include <QSignalBlocker>
#include <QStyle>
#include <algorithm>

DriveList::DriveList(std::shared_ptr<VolumeSource> volumes, QWidget *parent)
    : QComboBox(parent)
    , m_volumes(std::move(volumes))
{
    reloadVolumes();
    setCurrentIndex(int(indexOf(driveOf(QDir::toNativeSeparators(QDir::currentPath())))));
    connect(this, &QComboBox::currentIndexChanged, this, &DriveList::driveChanged);
}

QString DriveList::drive() const
{
    return m_shown.value(currentIndex()).rootPath;
}

void DriveList::setDrive(const QString &rootPath)
{
    const qsizetype index = indexOf(rootPath);
    if (index >= 0)
        setCurrentIndex(int(index));
}

QString DriveList::driveOf(const QString &path) const
{
    return volumeRootOf(m_shown, path);
}

bool DriveList::makeCurrent(const QString &rootPath, QString *error) const
{
    return m_volumes->makeCurrent(rootPath, error);
}

void DriveList::showPopup()
{
    reloadVolumes();
    QComboBox::showPopup();
}

void DriveList::reloadVolumes()
{
    const QSignalBlocker quiet(this);
    const QString current = drive();
    QList<Volume> volumes = m_volumes->volumes();
    const auto isCurrent = [&current](const Volume &volume) { return volume.rootPath == current; };
    // A volume that went away while shown stays until the user leaves it.
    if (!current.isEmpty() && std::none_of(volumes.cbegin(), volumes.cend(), isCurrent))
        volumes.append(m_shown.at(currentIndex()));
    m_shown = volumes;
    clear();
    const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
    for (const Volume &volume : std::as_const(m_shown)) {
        addItem(icon,
            volume.name.isEmpty() ? volume.rootPath
                                  : QStringLiteral("%1  [%2]").arg(volume.rootPath, volume.name));
    }
    setCurrentIndex(int(indexOf(current)));
}

qsizetype DriveList::indexOf(const QString &rootPath) const
{
    for (qsizetype i = 0; i < m_shown.size(); ++i) {
        if (m_shown.at(i).rootPath == rootPath)
            return i;
    }
    return -1;
}
