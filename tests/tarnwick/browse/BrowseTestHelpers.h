#pragma once

#include "tarnwick/browse/EntryListView.h"

#include <QDir>
#include <QFile>
#include <QTest>

/// The texts of the selected rows, in list order.
inline QStringList selectedEntries(const EntryListView &list)
{
    QStringList entries;
    for (qsizetype row : list.selectedRows())
        entries.append(list.entry(row));
    return entries;
}

/// Double clicks a row as a mouse does: a click, then the double click (QTest sends only the latter).
inline void doubleClick(QAbstractItemView &view, const QModelIndex &row)
{
    const QPoint centre = view.visualRect(row).center();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, centre);
}

/// Creates an empty file for each name in `directory`.
inline void makeFiles(const QString &directory, const QStringList &names)
{
    for (const QString &name : names) {
        QFile file(QDir(directory).filePath(name));
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(file.fileName()));
    }
}

/// The names of `count` files, every other one a plot file, in the order the file list sorts them.
inline QStringList numberedNames(qsizetype count)
{
    QStringList names;
    for (qsizetype i = 0; i < count; ++i)
        names.append(
            QStringLiteral("f%1.%2").arg(qlonglong(i), 5, 10, QChar(u'0')).arg(i % 2 ? u"txt" : u"plt"));
    return names;
}

/// Rows of paths that cannot be listed, relative to a scratch directory holding the file "file.plt".
inline void addUnlistablePathRows()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("missing") << QStringLiteral("missing");
    QTest::newRow("a file") << QStringLiteral("file.plt");
    QTest::newRow("through a file") << QStringLiteral("file.plt/sub");
}
