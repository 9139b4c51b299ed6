#include "base/FileSystem.h"

#include "base/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace FileSystem {

bool fileExists(const QString &fileName)
{
    const QFileInfo info(fileName);
    return info.exists() && !info.isDir();
}

void createTextFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw RuntimeError(QStringLiteral("The file \"%1\" cannot be created: %2")
                               .arg(QDir::toNativeSeparators(fileName), file.errorString()));
    }
}

void deleteFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.remove()) {
        throw RuntimeError(QStringLiteral("The file \"%1\" cannot be deleted: %2")
                               .arg(QDir::toNativeSeparators(fileName), file.errorString()));
    }
}

QString rootDirectory()
{
    return QDir::toNativeSeparators(QDir::rootPath());
}

} // namespace FileSystem
