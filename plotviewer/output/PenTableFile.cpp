#include "PenTableFile.h"

#include <QFile>
#include <QFileInfo>

namespace plotviewer {

namespace {

// A settings file is a few lines; anything this large is not one.
constexpr qint64 largestSettingsFile = qint64(1) << 20;

bool isSectionHeader(const QByteArray &line)
{
    return line.startsWith('[');
}

bool isPensHeader(const QByteArray &line)
{
    return line.endsWith(']') && line.mid(1, line.size() - 2).trimmed().toLower() == "pens";
}

bool isComment(const QByteArray &line)
{
    return line.startsWith(';') || line.startsWith('#');
}

} // namespace

PenTableFile PenTableFile::read(const QString &path)
{
    PenTableFile table;
    const QFileInfo info(path);
    if (!info.exists())
        return table;
    table.status = Status::Unreadable;
    QFile file(path);
    // Only a regular file: a pipe or a device would block or never end.
    if (!info.isFile()) {
        table.error = QStringLiteral("the pen table \"%1\" is not a file").arg(path);
        return table;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        table.error = QStringLiteral("cannot read the pen table \"%1\": %2").arg(path, file.errorString());
        return table;
    }
    const QByteArray contents = file.read(largestSettingsFile + 1);
    if (contents.size() > largestSettingsFile) {
        table.error = QStringLiteral("the pen table \"%1\" is larger than a settings file can be").arg(path);
        return table;
    }
    table.status = Status::Read;
    const QList<QByteArray> lines = contents.split('\n');
    bool inPens = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        if (isSectionHeader(line)) {
            // The first [Pens] section counts, as the first of any section does in a settings file.
            if (inPens)
                break;
            inPens = isPensHeader(line);
            continue;
        }
        if (!inPens || line.isEmpty() || isComment(line))
            continue;
        const std::string why
            = table.pens.readLine(std::string_view(line.constData(), std::size_t(line.size())));
        if (!why.empty()) {
            table.warnings << QStringLiteral("pen table \"%1\", line %2 (\"%3\") is skipped: %4")
                                  .arg(path)
                                  .arg(i + 1)
                                  .arg(QString::fromUtf8(line), QString::fromStdString(why));
        }
    }
    return table;
}

QStringList PenTableFile::problems() const
{
    return status == Status::Unreadable ? QStringList { error } + warnings : warnings;
}

} // namespace plotviewer
