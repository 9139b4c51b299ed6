#pragma once

#include "browse/VolumeSource.h"

#include <QComboBox>
#include <memory>

/// The drive list: the mounted volumes, each shown by its root path and name. Its change signal is
/// raised synchronously, also when the program sets the drive.
class DriveList : public QComboBox
{
    Q_OBJECT
public:
    explicit DriveList(std::shared_ptr<VolumeSource> volumes, QWidget *parent = nullptr);

    /// The root path of the volume shown.
    QString drive() const;
    void setDrive(const QString &rootPath);

    /// The root of the volume that holds `path`.
    QString driveOf(const QString &path) const;
    /// Makes `rootPath` the process's current volume; false with `error` set when it is not ready.
    bool makeCurrent(const QString &rootPath, QString *error) const;

Q_SIGNALS:
    void driveChanged();

private:
    std::shared_ptr<VolumeSource> m_volumes;
    QList<Volume> m_shown;
};
