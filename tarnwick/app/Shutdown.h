#pragma once

#include "tarnwick/base/FileSystem.h"

#include <QStringList>
#include <functional>

struct AppEnvironment;

namespace Shutdown {

/// Deletes "temp.icx" and the preview image in the temporary directory where present, each
/// existence test made just before its deletion through `deleteFile`. Returns a description of
/// every deletion that failed, after trying both.
QStringList deleteTemporaryFiles(const AppEnvironment &environment,
    const std::function<void(const QString &)> &deleteFile = FileSystem::deleteFile);

} // namespace Shutdown
