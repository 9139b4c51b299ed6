#pragma once

#include <QList>
#include <QString>
#include <memory>

/// A mounted volume as the drive list shows it.
struct Volume
{
    QString rootPath; // native separators
    QString name; // may be empty
    bool ready = true;
};

/// Where the drive list gets its volumes, and how it makes one current; tests offer their own.
class VolumeSource
{
public:
    virtual ~VolumeSource() = default;
    virtual QList<Volume> volumes() const = 0;
    /// Makes `rootPath` the process's current volume; false with `error` set when it is not ready
    /// or cannot be entered.
    virtual bool makeCurrent(const QString &rootPath, QString *error) = 0;

    /// The volumes of this machine that hold real file systems.
    static std::shared_ptr<VolumeSource> system();
};

/// The root of the volume in `volumes` that holds `path`: the longest root that is a prefix of it.
QString volumeRootOf(const QList<Volume> &volumes, const QString &path);
