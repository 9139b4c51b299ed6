#include "tarnwick/app/Shutdown.h"

#include "tarnwick/app/AppEnvironment.h"
#include "tarnwick/base/FileSystem.h"

#include <exception>

namespace Shutdown {

QStringList deleteTemporaryFiles(
    const AppEnvironment &environment, const std::function<void(const QString &)> &deleteFile)
{
    QStringList failures;
    for (const char *name : { AppFiles::TempIcx, AppFiles::PreviewImage }) {
        const QString file = environment.temporaryFile(QString::fromLatin1(name));
        try {
            if (FileSystem::fileExists(file))
                deleteFile(file);
        } catch (const std::exception &failure) {
            failures.append(QString::fromUtf8(failure.what()));
        }
    }
    return failures;
}

} // namespace Shutdown
