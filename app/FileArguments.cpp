#include "app/FileArguments.h"

#include <QDir>
#include <QFileInfo>

namespace FileArguments {

namespace {

const QString endOfOptions = QStringLiteral("--");

/// Why `path` cannot be printed, or an empty string when it can.
QString whyLeftOut(const QString &path, const MayRead &mayRead)
{
    const QFileInfo file(path);
    if (!file.exists())
        return QStringLiteral("does not exist");
    if (file.isDir())
        return QStringLiteral("is a folder");
    if (!file.isFile())
        return QStringLiteral("is not a plain file");
    if (!mayRead(path))
        return QStringLiteral("cannot be read");
    return {};
}

} // namespace

bool userMayRead(const QString &path)
{
    return QFileInfo(path).isReadable();
}

Sorted sort(const QStringList &arguments, const QString &currentDirectory, const MayRead &mayRead)
{
    const QDir current(currentDirectory);
    Sorted sorted;
    for (const QString &argument : arguments) {
        if (argument == endOfOptions)
            continue;
        const QString path = QDir::toNativeSeparators(QDir::cleanPath(current.absoluteFilePath(argument)));
        const QString reason = whyLeftOut(path, mayRead);
        if (reason.isEmpty())
            sorted.files.append(path);
        else
            sorted.leftOut.append(QStringLiteral("%1: %2").arg(path, reason));
    }
    sorted.leftOut.removeDuplicates();
    return sorted;
}

} // namespace FileArguments
