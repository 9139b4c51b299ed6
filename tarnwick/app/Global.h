#pragma once

#include <QString>

/// The settings-file operations. Values of any length and any characters read back whole.
namespace Global {

/// The value of `key` in `section` of the INI file `fileName`, or `defaultValue` when the file,
/// the section or the key is missing (or the file cannot be read).
QString ReadSetting(
    const QString &section, const QString &key, const QString &defaultValue, const QString &fileName);

/// Creates the file, section and key as needed and replaces the key's value. The file is replaced
/// atomically, so an interrupted write leaves the old file whole. A file that cannot be read as a
/// settings file is left as it is. Failures are not reported: its caller ends silently on them.
void WriteSetting(const QString &section, const QString &key, const QString &value, const QString &fileName);

} // namespace Global
