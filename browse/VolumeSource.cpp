#include "browse/VolumeSource.h"

#include <QDir>
#include <QStorageInfo>

namespace {

class SystemVolumes final : public VolumeSource
{
public:
    QList<Volume> volumes() const override
    {
        QList<Volume> found;
        for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
            if (storage.isValid())
                found.append({ QDir::toNativeSeparators(storage.rootPath()), storage.displayName(), storage.isReady() });
        }
        return found;
    }

    bool makeCurrent(const QString &rootPath, QString *error) override
    {
        if (QDir::setCurrent(rootPath))
            return true;
        if (error)
            *error = QStringLiteral("The volume %1 cannot be entered.").arg(rootPath);
        return false;
    }
};

bool isUnder(const QString &path, const QString &root)
{
    if (!path.startsWith(root))
        return false;
    return path.size() == root.size() || root.endsWith(QDir::separator()) || path.at(root.size()) == QDir::separator();
}

} // namespace

std::shared_ptr<VolumeSource> VolumeSource::system()
{
    return std::make_shared<SystemVolumes>();
}

QString volumeRootOf(const QList<Volume> &volumes, const QString &path)
{
    QString best;
    for (const Volume &volume : volumes) {
        if (isUnder(path, volume.rootPath) && volume.rootPath.size() > best.size())
            best = volume.rootPath;
    }
    return best;
}
