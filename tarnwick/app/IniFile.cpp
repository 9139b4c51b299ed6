#include "tarnwick/app/IniFile.h"

#include "contract/SettingsText.h"

using Parsed = SettingsText::Line;

namespace {

/// Whether `value` would not read back as itself unquoted: outer blanks, or quotes of its own.
bool needsQuotes(const QString &value)
{
    if (value.isEmpty())
        return false;
    const Parsed read = SettingsText::parse(QByteArray("k=") + value.toUtf8());
    return read.value != value;
}

} // namespace

IniFile::IniFile(const QByteArray &contents)
{
    qsizetype start = 0;
    while (start < contents.size()) {
        const qsizetype newline = contents.indexOf('\n', start);
        if (newline < 0) {
            m_lines.append({ contents.mid(start), {} });
            break;
        }
        const bool crlf = newline > start && contents.at(newline - 1) == '\r';
        const qsizetype textEnd = crlf ? newline - 1 : newline;
        m_lines.append(
            { contents.mid(start, textEnd - start), crlf ? QByteArray("\r\n") : QByteArray("\n") });
        start = newline + 1;
    }
}

std::optional<QString> IniFile::value(const QString &section, const QString &key) const
{
    const qsizetype header = findSection(section);
    if (header < 0)
        return std::nullopt;
    const qsizetype line = findKey(header, key);
    if (line < 0)
        return std::nullopt;
    return SettingsText::parse(m_lines.at(line).text).value;
}

bool IniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    if (value.contains(u'\n') || value.contains(u'\r') || key.contains(u'\n') || section.contains(u'\n'))
        return false;
    qsizetype header = findSection(section);
    if (header < 0) {
        header = m_lines.size();
        insertLine(header, QByteArray('[' + section.toUtf8() + ']'));
    }
    const QByteArray line = encodeKeyLine(key, value);
    if (const qsizetype existing = findKey(header, key); existing >= 0)
        m_lines[existing].text = line;
    else
        insertLine(sectionEnd(header), line);
    return true;
}

QByteArray IniFile::contents() const
{
    QByteArray out;
    for (const Line &line : m_lines)
        out += line.text + line.end;
    return out;
}

QList<qsizetype> IniFile::unreadableLines() const
{
    QList<qsizetype> unreadable;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        if (SettingsText::parse(m_lines.at(i).text).kind == Parsed::Kind::Unreadable)
            unreadable.append(i + 1);
    }
    return unreadable;
}

QByteArray IniFile::encodeKeyLine(const QString &key, const QString &value)
{
    const QString stored = needsQuotes(value) ? u'"' + value + u'"' : value;
    return (key + u'=' + stored).toUtf8();
}

qsizetype IniFile::findSection(const QString &section) const
{
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const Parsed line = SettingsText::parse(m_lines.at(i).text);
        if (line.kind == Parsed::Kind::Section && line.name.compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

qsizetype IniFile::findKey(qsizetype header, const QString &key) const
{
    for (qsizetype i = header + 1; i < m_lines.size(); ++i) {
        const Parsed line = SettingsText::parse(m_lines.at(i).text);
        if (line.kind == Parsed::Kind::Section)
            break;
        if (line.kind == Parsed::Kind::Entry && line.name.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

qsizetype IniFile::sectionEnd(qsizetype header) const
{
    qsizetype end = header + 1;
    for (qsizetype i = header + 1; i < m_lines.size(); ++i) {
        const Parsed line = SettingsText::parse(m_lines.at(i).text);
        if (line.kind == Parsed::Kind::Section)
            break;
        if (line.kind != Parsed::Kind::Blank)
            end = i + 1;
    }
    return end;
}

void IniFile::insertLine(qsizetype index, const QByteArray &text)
{
    // A line inserted after an unterminated last line needs that line terminated first.
    if (index > 0 && m_lines.at(index - 1).end.isEmpty())
        m_lines[index - 1].end = lineEnd();
    m_lines.insert(index, { text, lineEnd() });
}

QByteArray IniFile::lineEnd() const
{
    for (const Line &line : m_lines) {
        if (!line.end.isEmpty())
            return line.end;
    }
#ifdef Q_OS_WIN
    return QByteArrayLiteral("\r\n");
#else
    return QByteArrayLiteral("\n");
#endif
}
