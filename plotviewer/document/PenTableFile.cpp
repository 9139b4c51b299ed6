#include "PenTableFile.h"

#include "contract/SettingsText.h"

namespace plotviewer {

using SettingsText::Line;

PenTableFile PenTableFile::read(const QString &path)
{
    PenTableFile table;
    const SettingsText::FileContents contents = SettingsText::readFile(path, QStringLiteral("pen table"));
    if (contents.status != SettingsText::FileContents::Status::Read) {
        table.status = contents.status == SettingsText::FileContents::Status::Missing ? Status::Missing
                                                                                      : Status::Unreadable;
        table.error = contents.error;
        return table;
    }
    table.status = Status::Read;
    const QList<QByteArray> lines = SettingsText::lines(contents.bytes);
    bool inPens = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Line line = SettingsText::parse(lines[i]);
        if (line.kind == Line::Kind::Section) {
            // The first [Pens] section counts, as the first of any section does in a settings file.
            if (inPens)
                break;
            inPens = line.name.compare(QLatin1String("Pens"), Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inPens || line.kind == Line::Kind::Blank || line.kind == Line::Kind::Comment)
            continue;
        const QByteArray text = line.kind == Line::Kind::Entry
            ? (line.name + u'=' + line.value).toUtf8()
            : SettingsText::decode(lines[i]).trimmed().toUtf8();
        const std::string why
            = table.pens.readLine(std::string_view(text.constData(), std::size_t(text.size())));
        if (!why.empty()) {
            table.warnings << QStringLiteral("pen table \"%1\", line %2 (\"%3\") is skipped: %4")
                                  .arg(path)
                                  .arg(i + 1)
                                  .arg(QString::fromUtf8(text), QString::fromStdString(why));
        }
    }
    return table;
}

QStringList PenTableFile::problems() const
{
    return status == Status::Unreadable ? QStringList { error } + warnings : warnings;
}

} // namespace plotviewer
