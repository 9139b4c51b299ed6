#pragma once

#include <QStringList>

struct AppEnvironment;

namespace Shutdown {

/// Deletes "temp.icx" and the preview image in the application directory where present, each
/// existence test made just before its deletion. Returns a description of every deletion that
/// failed, after trying both.
QStringList deleteTemporaryFiles(const AppEnvironment &environment);

} // namespace Shutdown
