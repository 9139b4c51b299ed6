#include "app/AppEnvironment.h"

#include "base/FullPath.h"

#include <QCoreApplication>
#include <QDir>

AppEnvironment AppEnvironment::system()
{
    return { QDir::toNativeSeparators(QCoreApplication::applicationDirPath()), VolumeSource::system() };
}

QString AppEnvironment::file(const QString &name) const
{
    return fullPath(applicationDirectory, name);
}
