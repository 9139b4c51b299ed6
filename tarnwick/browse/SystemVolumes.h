#pragma once

#include "tarnwick/browse/VolumeSource.h"

/// The volumes this machine has mounted, from QStorageInfo, without the kernel's pseudo file
/// systems, sorted by root path.
class SystemVolumes final : public VolumeSource
{
public:
    QList<Volume> volumes() const override;
    bool makeCurrent(const QString &rootPath, QString *error) override;

    /// Whether a user would browse a volume of `fileSystemType` mounted at `rootPath`. The root
    /// itself always counts, whatever holds it (an overlay in a container, a tmpfs in a live system).
    static bool isBrowsable(const QString &fileSystemType, const QString &rootPath);
};
