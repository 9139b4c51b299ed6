#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

/// INI text with the semantics of the Windows private-profile functions, read as the settings-file
/// format says (SettingsText): section and key names match without regard to case, the first match
/// wins, and every line that is not changed keeps its bytes (comments, other sections, line ends,
/// unknown encodings). Values are taken verbatim: backslashes are not escapes; blank space around
/// names and values is trimmed, and one pair of surrounding quotes is removed so that values with
/// outer blanks can be stored.
class IniFile
{
public:
    explicit IniFile(const QByteArray &contents = {});

    std::optional<QString> value(const QString &section, const QString &key) const;
    /// Creates the section and key as needed and replaces the key's value. False, with nothing
    /// changed, for a value that a line cannot hold (a line break).
    bool setValue(const QString &section, const QString &key, const QString &value);

    QByteArray contents() const;
    /// The numbers (from 1) of the lines that are no section, entry, comment or blank line.
    QList<qsizetype> unreadableLines() const;

private:
    struct Line
    {
        QByteArray text; // without its line end
        QByteArray end; // "\n", "\r\n" or empty for an unterminated last line
    };
    static QByteArray encodeKeyLine(const QString &key, const QString &value);

    /// Index of the header line of `section`, or -1.
    qsizetype findSection(const QString &section) const;
    /// Index of `key` within the section whose header is at `header`, or -1.
    qsizetype findKey(qsizetype header, const QString &key) const;
    /// Index after the last non-blank line of the section whose header is at `header`.
    qsizetype sectionEnd(qsizetype header) const;
    void insertLine(qsizetype index, const QByteArray &text);
    QByteArray lineEnd() const;

    QList<Line> m_lines;
};
