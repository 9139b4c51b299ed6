#include "app/Global.h"

#include "app/IniFile.h"

#include <QFile>
#include <QSaveFile>
#include <optional>

namespace {

// A settings file is a few lines; anything near this size is not one, and is left alone.
constexpr qint64 MaxSettingsFileSize = 16 * 1024 * 1024;

std::optional<QByteArray> readSettingsFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.exists())
        return QByteArray();
    if (file.size() > MaxSettingsFileSize || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

} // namespace

namespace Global {

QString ReadSetting(const QString &section, const QString &key, const QString &defaultValue, const QString &fileName)
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
    if (file.open(QIODevice::WriteOnly)) {
        file.write(ini.contents());
        file.commit();
    }
}

} // namespace Global
