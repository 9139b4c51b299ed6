#include "tarnwick/browse/VolumeSource.h"

#include "tarnwick/browse/SystemVolumes.h"

#include <QDir>

namespace {

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity PathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity PathCase = Qt::CaseSensitive;
#endif

bool isUnder(const QString &path, const QString &root)
{
    if (!path.startsWith(root, PathCase))
        return false;
    return path.size() == root.size() || root.endsWith(QDir::separator())
        || path.at(root.size()) == QDir::separator();
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
