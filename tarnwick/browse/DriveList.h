#pragma once

#include "tarnwick/browse/VolumeSource.h"

#include <QComboBox>
#include <memory>

/// The drive list: the mounted volumes, each shown by its root path and, where it has one, its
/// name; re-read each time the list drops down. driveChanged is raised synchronously whenever the
/// drive shown changes, also when the program sets it.
class DriveList : public QComboBox
{
    Q_OBJECT
public:
    /// Starts on the volume that holds the process's current directory.
    explicit DriveList(std::shared_ptr<VolumeSource> volumes, QWidget *parent = nullptr);

    /// The root path of the volume shown.
    QString drive() const;
    /// Shows the volume with this root path; a root that is not listed changes nothing.
    void setDrive(const QString &rootPath);

    /// The root of the listed volume that holds `path`.
    QString driveOf(const QString &path) const;
    /// Makes `rootPath` the process's current volume by entering its root; false with `error` set
    /// when it is not ready or cannot be entered.
    bool makeCurrent(const QString &rootPath, QString *error) const;

    void showPopup() override;

Q_SIGNALS:
    void driveChanged();

private:
    /// Lists the volumes afresh, keeping the drive shown without raising driveChanged.
    void reloadVolumes();
    qsizetype indexOf(const QString &rootPath) const;

    std::shared_ptr<VolumeSource> m_volumes;
    QList<Volume> m_shown;
};
