#include "tarnwick/app/AppEnvironment.h"

#include "tarnwick/base/FullPath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString ProgramFolder = QStringLiteral("tarnwick");

QString userFolder(QStandardPaths::StandardLocation location)
{
    return QDir::toNativeSeparators(QDir(QStandardPaths::writableLocation(location)).filePath(ProgramFolder));
}

} // namespace

UserFolders UserFolders::system()
{
    return { userFolder(QStandardPaths::GenericConfigLocation),
        userFolder(QStandardPaths::GenericCacheLocation) };
}

AppEnvironment AppEnvironment::system()
{
    const QString directory = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    return forFolder(
        directory, QFileInfo(directory).isWritable(), UserFolders::system(), VolumeSource::system());
}

AppEnvironment AppEnvironment::forFolder(const QString &applicationDirectory, bool writable,
    const UserFolders &userFolders, std::shared_ptr<VolumeSource> volumes)
{
    if (writable)
        return { applicationDirectory, std::move(volumes), applicationDirectory, applicationDirectory };
    // A folder that cannot be made shows later, when its first file cannot be created.
    QDir().mkpath(userFolders.settingsDirectory);
    QDir().mkpath(userFolders.temporaryDirectory);
    return { applicationDirectory, std::move(volumes), userFolders.settingsDirectory,
        userFolders.temporaryDirectory };
}

QString AppEnvironment::settingsFile() const
{
    return fullPath(settingsDirectory, QString::fromLatin1(AppFiles::Settings));
}

QString AppEnvironment::defaultSettingsFile() const
{
    return usesUserFolders() ? fullPath(applicationDirectory, QString::fromLatin1(AppFiles::Settings))
                             : QString();
}

QString AppEnvironment::temporaryFile(const QString &name) const
{
    return fullPath(temporaryDirectory, name);
}
