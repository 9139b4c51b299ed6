#include "app/Shutdown.h"

#include "app/AppEnvironment.h"
#include "base/FileSystem.h"

#include <exception>

namespace Shutdown {

QStringList deleteTemporaryFiles(const AppEnvironment &environment)
{
    QStringList failures;
    for (const char *name : { AppFiles::TempIcx, AppFiles::PreviewImage }) {
        const QString file = environment.file(QString::fromLatin1(name));
        try {
            if (FileSystem::fileExists(file))
                FileSystem::deleteFile(file);
        } catch (const std::exception &failure) {
            failures.append(QString::fromUtf8(failure.what()));
        }
    }
    return failures;
}

} // namespace Shutdown
