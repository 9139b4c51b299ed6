#pragma once

#include "tarnwick/browse/VolumeSource.h"

#include <QString>
#include <memory>

/// The per-user folders used when the program's own folder cannot be written.
struct UserFolders
{
    QString settingsDirectory; ///< e.g. ~/.config/tarnwick
    QString temporaryDirectory; ///< e.g. ~/.cache/tarnwick

    /// The user's configuration and cache folders, each with a folder of the program's own.
    static UserFolders system();
};

/// What the program takes from the machine it runs on; tests give their own.
struct AppEnvironment
{
    /// The directory that holds the executable.
    QString applicationDirectory;
    std::shared_ptr<VolumeSource> volumes;
    /// Where the settings file lies, and where the temporary files lie: both the application
    /// directory where it is writable (a portable copy, the build folder), else the user's folders.
    QString settingsDirectory;
    QString temporaryDirectory;

    static AppEnvironment system();
    /// The environment of a program in `applicationDirectory`. Where that folder is not `writable`
    /// the user's folders take its place; they are created as needed.
    static AppEnvironment forFolder(const QString &applicationDirectory, bool writable,
        const UserFolders &userFolders, std::shared_ptr<VolumeSource> volumes);

    bool usesUserFolders() const { return settingsDirectory != applicationDirectory; }
    QString settingsFile() const;
    /// The administrator's default settings beside the executable, read (never written) until the
    /// user has a settings file of their own; empty where the settings file itself lies there.
    QString defaultSettingsFile() const;
    QString temporaryFile(const QString &name) const;
};

/// The files the program keeps.
namespace AppFiles {
inline constexpr auto Settings = "tarnwick.ini";
inline constexpr auto PreviewImage = "~plt000.jpg";
inline constexpr auto TempIcx = "temp.icx";
} // namespace AppFiles
