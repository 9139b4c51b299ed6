#pragma once

#include "browse/VolumeSource.h"

#include <QString>
#include <memory>

/// What the program takes from the machine it runs on; tests give their own.
struct AppEnvironment
{
    /// The directory that holds the executable: the settings file and the temporary files lie there.
    QString applicationDirectory;
    std::shared_ptr<VolumeSource> volumes;

    static AppEnvironment system();

    /// The full name of a file in the application directory.
    QString file(const QString &name) const;
};

/// The files the program keeps in its application directory.
namespace AppFiles {
inline constexpr auto Settings = "tarnwick.ini";
inline constexpr auto PreviewImage = "~plt000.jpg";
inline constexpr auto TempIcx = "temp.icx";
} // namespace AppFiles
