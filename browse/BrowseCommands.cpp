#include "browse/BrowseCommands.h"

#include "browse/DirList.h"
#include "browse/FileList.h"

namespace BrowseCommands {

void followDirectory(const DirList &directories, FileList &files)
{
    files.setPath(directories.path());
}

void applyPatternOnEnter(int keyAscii, const QString &patternText, FileList &files)
{
    if (keyAscii == 13)
        files.setPattern(patternText);
}

void selectAll(FileList &files)
{
    files.selectAll();
}

void selectPlotFiles(FileList &files)
{
    files.refresh();
    QList<qsizetype> rows;
    for (qsizetype i = 0; i < files.count(); ++i) {
        if (isPlotFileName(files.entry(i)))
            rows.append(i);
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
