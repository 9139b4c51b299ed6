#include "browse/PrintListCommands.h"

#include "base/FullPath.h"
#include "browse/FileList.h"
#include "browse/PrintList.h"

#include <QLineEdit>

namespace PrintListCommands {

void addSelected(const FileList &files, PrintList &printList, QLineEdit &countBox)
{
    const QList<qsizetype> rows = files.selectedRows();
    QStringList paths;
    paths.reserve(rows.size());
    for (qsizetype row : rows)
        paths.append(fullPath(files.path(), files.entries().at(row)));
    printList.append(paths);
    showCount(printList, countBox);
}

void removeSelected(PrintList &printList, QLineEdit &countBox)
{
    printList.removeSelected();
    showCount(printList, countBox);
}

void clear(PrintList &printList, QLineEdit &countBox)
{
    printList.clear();
    showCount(printList, countBox);
}

void showCount(const PrintList &printList, QLineEdit &countBox)
{
    countBox.setText(QString::number(printList.count()));
}

} // namespace PrintListCommands
