#include "app/Shutdown.h"

#include "app/AppEnvironment.h"
#include "base/FileSystem.h"

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
