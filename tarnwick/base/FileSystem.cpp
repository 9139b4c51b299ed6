#include "tarnwick/base/FileSystem.h"

#include "tarnwick/base/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

QByteArray readFile(const QString &fileName)
{
    QFile file(fileName);
    QByteArray contents;
    if (file.open(QIODevice::ReadOnly))
        contents = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        throw RuntimeError(QStringLiteral("The file \"%1\" cannot be read: %2")
                               .arg(QDir::toNativeSeparators(fileName), file.errorString()));
    }
    return contents;
}

void copyFile(const QString &source, const QString &target)
{
    // Read and written rather than copied, so the copy is the user's own, not a read-only clone.
    const QByteArray contents = readFile(source);
    // Whole or not at all: a copy cut short would later read as a settings file without settings.
    QSaveFile to(target);
    if (!to.open(QIODevice::WriteOnly) || to.write(contents) != contents.size() || !to.commit()) {
        throw RuntimeError(QStringLiteral("The file \"%1\" cannot be created: %2")
                               .arg(QDir::toNativeSeparators(target), to.errorString()));
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
