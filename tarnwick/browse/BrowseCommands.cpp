#include "tarnwick/browse/BrowseCommands.h"

#include "tarnwick/browse/FileList.h"

namespace BrowseCommands {

void selectPlotFiles(FileList &files)
{
    files.refresh();
    const QStringList &entries = files.entries();
    QList<qsizetype> rows;
    for (qsizetype row = 0; row < entries.size(); ++row) {
        if (isPlotFileName(entries.at(row)))
            rows.append(row);
    }
    files.selectRows(rows);
}

bool isPlotFileName(const QString &entry)
{
    const qsizetype dot = entry.indexOf(u'.');
    if (dot < 0)
        return false;
    const QStringView extension = QStringView(entry).mid(dot + 1);
    return extension == u"PLT" || extension == u"plt";
}

} // namespace BrowseCommands
