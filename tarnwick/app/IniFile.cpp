#include "tarnwick/app/IniFile.h"

#include <QStringDecoder>

namespace {

bool isQuote(QChar c)
{
    return c == u'"' || c == u'\'';
}

QString unquote(const QString &value)
{
    if (value.size() >= 2 && isQuote(value.front()) && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

bool needsQuotes(const QString &value)
{
    return !value.isEmpty()
        && (value.front().isSpace() || value.back().isSpace() || unquote(value).size() != value.size());
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
    return keyLine(decode(m_lines.at(line).text))->value;
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

QString IniFile::decode(const QByteArray &bytes)
{
    // Files from older systems may be in a single-byte code page rather than UTF-8.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

std::optional<QString> IniFile::sectionName(const QString &line)
{
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(u']');
    if (close < 0)
        return std::nullopt;
    return trimmed.mid(1, close - 1).trimmed();
}

std::optional<IniFile::KeyLine> IniFile::keyLine(const QString &line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(u';') || trimmed.startsWith(u'['))
        return std::nullopt;
    const qsizetype equals = trimmed.indexOf(u'=');
    if (equals <= 0)
        return std::nullopt;
    return KeyLine { trimmed.left(equals).trimmed(), unquote(trimmed.mid(equals + 1).trimmed()) };
}

QByteArray IniFile::encodeKeyLine(const QString &key, const QString &value)
{
    const QString stored = needsQuotes(value) ? u'"' + value + u'"' : value;
    return (key + u'=' + stored).toUtf8();
}

qsizetype IniFile::findSection(const QString &section) const
{
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionName(decode(m_lines.at(i).text));
        if (name && name->compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

qsizetype IniFile::findKey(qsizetype header, const QString &key) const
{
    for (qsizetype i = header + 1; i < m_lines.size(); ++i) {
        const QString text = decode(m_lines.at(i).text);
        if (sectionName(text))
            break;
        const auto entry = keyLine(text);
        if (entry && entry->key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

qsizetype IniFile::sectionEnd(qsizetype header) const
{
    qsizetype end = header + 1;
    for (qsizetype i = header + 1; i < m_lines.size(); ++i) {
        const QString text = decode(m_lines.at(i).text);
        if (sectionName(text))
            break;
        if (!text.trimmed().isEmpty())
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
