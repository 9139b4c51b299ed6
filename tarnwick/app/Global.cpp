#include "tarnwick/app/Global.h"

#include "tarnwick/app/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>

namespace {

// A settings file is a few lines; anything near this size is not one, and is left alone.
constexpr qint64 MaxSettingsFileSize = 16 * 1024 * 1024;

/// The file's contents, empty when there is no file, nothing when it cannot be read as a settings
/// file: a pipe or device would block or never end, so only regular files are read, and only so far.
std::optional<QByteArray> readSettingsFile(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists() && !info.isSymLink())
        return QByteArray();
    QFile file(fileName);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray contents = file.read(MaxSettingsFileSize + 1);
    if (contents.size() > MaxSettingsFileSize)
        return std::nullopt;
    return contents;
}

} // namespace

namespace Global {

QString ReadSetting(
    const QString &section, const QString &key, const QString &defaultValue, const QString &fileName)
{
    const std::optional<QByteArray> contents = readSettingsFile(fileName);
    if (!contents)
        return defaultValue;
    return IniFile(*contents).value(section, key).value_or(defaultValue);
}

void WriteSetting(const QString &section, const QString &key, const QString &value, const QString &fileName)
{
    const std::optional<QByteArray> contents = readSettingsFile(fileName);
    if (!contents)
        return; // never replace a file that could not be read: its contents would be lost
    IniFile ini(*contents);
    if (!ini.setValue(section, key, value))
        return;
    QSaveFile file(fileName);
    // Where no temporary file can be made beside it (a write-protected folder holding a writable
    // settings file), writing in place still saves the value.
    file.setDirectWriteFallback(true);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(ini.contents());
        file.commit();
    }
}

} // namespace Global
