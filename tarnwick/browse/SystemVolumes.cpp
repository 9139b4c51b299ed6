#include "tarnwick/browse/SystemVolumes.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

namespace {

// Kernel interfaces and memory-backed scratch space: nothing a user keeps plot files on.
const QStringList PseudoFileSystems {
    QStringLiteral("autofs"),
    QStringLiteral("binfmt_misc"),
    QStringLiteral("bpf"),
    QStringLiteral("cgroup"),
    QStringLiteral("cgroup2"),
    QStringLiteral("configfs"),
    QStringLiteral("debugfs"),
    QStringLiteral("devpts"),
    QStringLiteral("devtmpfs"),
    QStringLiteral("efivarfs"),
    QStringLiteral("fuse.portal"),
    QStringLiteral("fusectl"),
    QStringLiteral("hugetlbfs"),
    QStringLiteral("mqueue"),
    QStringLiteral("nfsd"),
    QStringLiteral("nsfs"),
    QStringLiteral("overlay"),
    QStringLiteral("proc"),
    QStringLiteral("pstore"),
    QStringLiteral("ramfs"),
    QStringLiteral("rootfs"),
    QStringLiteral("rpc_pipefs"),
    QStringLiteral("securityfs"),
    QStringLiteral("selinuxfs"),
    QStringLiteral("sysfs"),
    QStringLiteral("tmpfs"),
    QStringLiteral("tracefs"),
};

} // namespace

bool SystemVolumes::isBrowsable(const QString &fileSystemType, const QString &rootPath)
{
    if (QDir(rootPath).isRoot())
        return true;
    // Snap packages mount one read-only image each.
    if (fileSystemType == u"squashfs" && QDir::fromNativeSeparators(rootPath).startsWith(u"/snap/"))
        return false;
    return !PseudoFileSystems.contains(fileSystemType);
}

QList<Volume> SystemVolumes::volumes() const
{
    QList<Volume> found;
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        const QString root = storage.rootPath();
        // Containers bind-mount single files such as /etc/hosts; only directories can be browsed.
        if (!storage.isValid() || !isBrowsable(QString::fromLatin1(storage.fileSystemType()), root)
            || !QFileInfo(root).isDir())
            continue;
        const QString rootPath = QDir::toNativeSeparators(root);
        // A volume mounted over another hides it: the later mount is the one that is seen.
        found.removeIf([&rootPath](const Volume &volume) { return volume.rootPath == rootPath; });
        found.append({ rootPath, storage.name(), storage.isReady() });
    }
    // In a chroot or container the root may be no mount point of its own, yet it is always there.
    const QString fileSystemRoot = QDir::toNativeSeparators(QDir::rootPath());
    if (std::none_of(
            found.cbegin(), found.cend(), [&](const Volume &v) { return v.rootPath == fileSystemRoot; }))
        found.append({ fileSystemRoot, QString(), true });
    std::sort(found.begin(), found.end(), [](const Volume &a, const Volume &b) {
        return a.rootPath.compare(b.rootPath, Qt::CaseInsensitive) < 0;
    });
    return found;
}

bool SystemVolumes::makeCurrent(const QString &rootPath, QString *error)
{
    const QStorageInfo storage(rootPath);
    const bool mounted = QDir(rootPath).isRoot()
        || (storage.isValid() && QDir::toNativeSeparators(storage.rootPath()) == rootPath);
    if (!mounted || (storage.isValid() && !storage.isReady())) {
        if (error)
            *error = QStringLiteral("The volume %1 is not ready.").arg(rootPath);
        return false;
    }
    if (!QDir::setCurrent(rootPath)) {
        if (error)
            *error = QStringLiteral("The volume %1 cannot be entered.").arg(rootPath);
        return false;
    }
    return true;
}
