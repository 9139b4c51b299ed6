#include "contract/SettingsText.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace SettingsText {

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

} // namespace

FileContents readFile(const QString &path, const QString &what)
{
    FileContents contents;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return contents;
    contents.status = FileContents::Status::Unreadable;
    QFile file(path);
    if (!info.isFile()) {
        contents.error = QStringLiteral("the %1 \"%2\" is not a file").arg(what, path);
        return contents;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        contents.error = QStringLiteral("cannot read the %1 \"%2\": %3").arg(what, path, file.errorString());
        return contents;
    }
    contents.bytes = file.read(largestFile + 1);
    if (contents.bytes.size() > largestFile) {
        contents.bytes.clear();
        contents.error
            = QStringLiteral("the %1 \"%2\" is larger than a settings file can be").arg(what, path);
        return contents;
    }
    contents.status = FileContents::Status::Read;
    return contents;
}

QList<QByteArray> lines(const QByteArray &contents)
{
    QList<QByteArray> found = contents.split('\n');
    if (!found.isEmpty() && found.back().isEmpty())
        found.removeLast(); // the end of the last line
    for (QByteArray &line : found) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return found;
}

QString decode(const QByteArray &line)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(line);
    if (utf8.hasError())
        text = QString::fromLatin1(line);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

Line parse(const QByteArray &bytes)
{
    const QString text = decode(bytes).trimmed();
    Line line;
    if (text.isEmpty())
        return line;
    if (text.startsWith(u';') || text.startsWith(u'#')) {
        line.kind = Line::Kind::Comment;
        return line;
    }
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(u']');
        if (close < 0) {
            line.kind = Line::Kind::Unreadable;
            return line;
        }
        line.kind = Line::Kind::Section;
        line.name = text.mid(1, close - 1).trimmed();
        return line;
    }
    const qsizetype equals = text.indexOf(u'=');
    if (equals <= 0) {
        line.kind = Line::Kind::Unreadable;
        return line;
    }
    line.kind = Line::Kind::Entry;
    line.name = text.left(equals).trimmed();
    line.value = unquote(text.mid(equals + 1).trimmed());
    return line;
}

} // namespace SettingsText
