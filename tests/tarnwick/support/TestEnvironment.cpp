#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool FakeVolumes::makeCurrent(const QString &rootPath, QString *error)
{
    for (const Volume &volume : std::as_const(list)) {
        if (volume.rootPath == rootPath && volume.ready && QDir::setCurrent(rootPath))
            return true;
    }
    if (error)
        *error = QStringLiteral("%1 is not ready").arg(rootPath);
    return false;
}

TestEnvironment::TestEnvironment()
{
    m_volumes->list = { { QDir::toNativeSeparators(QDir::rootPath()), QString(), true } };
    m_environment = AppEnvironment::forFolder(QDir::toNativeSeparators(m_appDir.path()), true, {}, m_volumes);
}

void TestEnvironment::useReadOnlyApplicationFolder()
{
    const UserFolders user { QDir::toNativeSeparators(
                                 m_scratch.filePath(QStringLiteral("user/config/tarnwick"))),
        QDir::toNativeSeparators(m_scratch.filePath(QStringLiteral("user/cache/tarnwick"))) };
    m_environment = AppEnvironment::forFolder(m_environment.applicationDirectory, false, user, m_volumes);
}

AppEnvironment TestEnvironment::environmentIn(const QString &relative) const
{
    return AppEnvironment::forFolder(
        QDir::toNativeSeparators(m_scratch.filePath(relative)), true, {}, m_volumes);
}

QString TestEnvironment::makeDirectory(const QString &relative) const
{
    const QString path = QDir(m_scratch.path()).filePath(relative);
    if (!QDir().mkpath(path))
        qFatal("cannot make the test directory %s", qPrintable(path));
    return QDir::toNativeSeparators(path);
}

QString TestEnvironment::makeFile(const QString &relative, const QByteArray &contents) const
{
    const QString path = QDir(m_scratch.path()).filePath(relative);
    QFile file(path);
    if (!QDir().mkpath(QFileInfo(path).path()) || !file.open(QIODevice::WriteOnly)
        || file.write(contents) != contents.size())
        qFatal("cannot make the test file %s", qPrintable(path));
    return QDir::toNativeSeparators(path);
}
