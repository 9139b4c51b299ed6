#pragma once
// Why a path cannot be reached, in the same words from the program and its plot server. A file
// under a folder the user may not enter is there all the same: it cannot be read.

#include <QFile>
#include <QFileInfo>
#include <QString>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PathAccess {

/// The outermost folder on the way to `path` that the user may not enter; empty when there is none.
inline QString closedFolder(const QString &path)
{
    QString folder;
    for (const QString &part : QFileInfo(path).absolutePath().split(u'/', Qt::SkipEmptyParts)) {
        folder += u'/' + part;
        if (::faccessat(AT_FDCWD, QFile::encodeName(folder).constData(), X_OK, AT_EACCESS) != 0
            && errno == EACCES)
            return folder;
    }
    return {};
}

/// Why `path` cannot be reached, worded to follow its name ("does not exist", "cannot be read:
/// permission denied (the folder "/srv/plots" cannot be entered)"); empty when it can be reached.
inline QString whyUnreachable(const QString &path)
{
    struct stat status
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &status) == 0)
        return {};
    const int error = errno;
    if (error == ENOENT || error == ENOTDIR)
        return QStringLiteral("does not exist");
    if (error != EACCES)
        return QStringLiteral("cannot be reached: %1").arg(QString::fromLocal8Bit(std::strerror(error)));
    const QString folder = closedFolder(path);
    if (folder.isEmpty())
        return QStringLiteral("cannot be read: permission denied");
    return QStringLiteral("cannot be read: permission denied (the folder \"%1\" cannot be entered)")
        .arg(folder);
}

} // namespace PathAccess
