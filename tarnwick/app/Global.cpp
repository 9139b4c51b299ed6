#include "tarnwick/app/Global.h"

#include "tarnwick/app/IniFile.h"

#include "contract/SettingsText.h"

#include <QSaveFile>
#include <optional>

namespace {

/// The file's contents, empty when there is no file, nothing when it cannot be read as a settings
/// file (a folder, a pipe, a device, something far too large).
std::optional<QByteArray> readSettingsFile(const QString &fileName)
{
    SettingsText::FileContents contents = SettingsText::readFile(fileName, QStringLiteral("settings file"));
    if (contents.status == SettingsText::FileContents::Status::Unreadable)
        return std::nullopt;
    return std::move(contents.bytes);
}

} // namespace

namespace Global {

QString ReadSetting(
    const QString &section, const QString &key, const QString &defaultValue, const QString &fileName)
{
    const std::optional<QByteArray> contents = readSettingsFile(fileName);
    if (!contents)
        return defaultValue;
    const IniFile ini(*contents);
    // Tarnwick shows no message for these: they go where a desktop keeps its programs' messages.
    for (const qsizetype line : ini.unreadableLines())
        qWarning("%s, line %lld cannot be read and is left out.", qPrintable(fileName), qint64(line));
    return ini.value(section, key).value_or(defaultValue);
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
