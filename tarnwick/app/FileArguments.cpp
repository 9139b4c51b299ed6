#include "tarnwick/app/FileArguments.h"

#include "contract/PathAccess.h"

#include <QDir>
#include <QFileInfo>

namespace FileArguments {

namespace {

const QString endOfOptions = QStringLiteral("--");
constexpr qsizetype reportedAtMost = 10;

/// Why `path` cannot be printed, or an empty string when it can.
QString whyLeftOut(const QString &path, const MayRead &mayRead)
{
    if (QString unreachable = PathAccess::whyUnreachable(path); !unreachable.isEmpty())
        return unreachable;
    const QFileInfo file(path);
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

QString leftOutReport(const QStringList &leftOut)
{
    QString report = QStringLiteral("These files were not added to the print list:\n")
        + leftOut.mid(0, reportedAtMost).join(u'\n');
    if (leftOut.size() > reportedAtMost)
        report += QStringLiteral("\nand %1 more.").arg(leftOut.size() - reportedAtMost);
    return report;
}

} // namespace FileArguments
