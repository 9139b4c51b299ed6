#include "BrowseTestHelpers.h"
#include "TestEnvironment.h"
#include "tarnwick/browse/DirList.h"
#include "tarnwick/browse/DirListModel.h"
#include "tarnwick/browse/EntryListModel.h"
#include "tarnwick/browse/FileList.h"
#include "tarnwick/browse/PrintList.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QSignalSpy>

namespace {

QStringList rowTexts(const QAbstractItemModel &model)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts.append(model.index(row, 0).data().toString());
    return texts;
}

QModelIndex rowNamed(const QAbstractItemView &view, const QString &text)
{
    const QModelIndexList found = view.model()->match(
        view.model()->index(0, 0), Qt::DisplayRole, text, 1, Qt::MatchExactly | Qt::MatchCaseSensitive);
    return found.value(0);
}

void show(QWidget &widget)
{
    widget.resize(300, 400);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
}

} // namespace

class tst_BrowseLists : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QDir::setCurrent(QDir::tempPath()); }

    void directoryRows()
    {
        TestEnvironment env;
        const QString directory = env.makeDirectory("top/Mid");
        for (const char *sub : { "Zeta", "alpha", ".hidden", "Beta" })
            env.makeDirectory(QStringLiteral("top/Mid/") + sub);
        env.makeFile("top/Mid/plot.plt");
        DirList list;
        QVERIFY(list.setPath(directory));

        const QStringList ancestors = directory.split(u'/', Qt::SkipEmptyParts);
        const QStringList expected
            = QStringList { "/" } + ancestors + QStringList { "alpha", "Beta", "Zeta" };
        QCOMPARE(rowTexts(*list.model()), expected);
        QCOMPARE(list.currentIndex().row(), ancestors.size());
        for (int row = 0; row < list.model()->rowCount(); ++row) {
            const int depth = list.model()->index(row, 0).data(DirListModel::DepthRole).toInt();
            QCOMPARE(depth, std::min(row, int(ancestors.size()) + 1));
        }
    }

    void pathChanges_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("expected"); // under the scratch space, or "/" for the root
        QTest::addColumn<int>("changes");
        QTest::newRow("set by program") << "a"
                                        << "set"
                                        << "a/b"
                                        << "a/b" << 1;
        QTest::newRow("set with trailing separator") << "a"
                                                     << "set"
                                                     << "a/b/"
                                                     << "a/b" << 1;
        QTest::newRow("set with dot segments") << "a"
                                               << "set"
                                               << "a/b/../b/."
                                               << "a/b" << 1;
        QTest::newRow("set relative") << "a"
                                      << "relative"
                                      << "a/b"
                                      << "a/b" << 1;
        QTest::newRow("set to the root") << "a"
                                         << "set"
                                         << "/"
                                         << "/" << 1;
        QTest::newRow("set to the same path") << "a"
                                              << "set"
                                              << "a"
                                              << "a" << 0;
        QTest::newRow("double click a subdirectory") << "a"
                                                     << "double click"
                                                     << "b"
                                                     << "a/b" << 1;
        QTest::newRow("double click an ancestor") << "a/b"
                                                  << "double click"
                                                  << "a"
                                                  << "a" << 1;
        QTest::newRow("double click the directory itself") << "a"
                                                           << "double click"
                                                           << "a"
                                                           << "a" << 0;
        QTest::newRow("Enter on a subdirectory") << "a"
                                                 << "enter"
                                                 << "b"
                                                 << "a/b" << 1;
        QTest::newRow("Enter on the root") << "a"
                                           << "enter"
                                           << "/"
                                           << "/" << 1;
    }
    void pathChanges()
    {
        QFETCH(QString, start);
        QFETCH(QString, action);
        QFETCH(QString, argument);
        QFETCH(QString, expected);
        QFETCH(int, changes);
        TestEnvironment env;
        env.makeDirectory("a/b");
        const auto under = [&env](const QString &relative) {
            return relative == u'/' ? relative : env.scratch() + u'/' + relative;
        };
        DirList list;
        show(list);
        QVERIFY(list.setPath(under(start)));
        QSignalSpy changed(&list, &DirList::pathChanged);
        if (action == u"set") {
            QVERIFY(list.setPath(under(argument)));
        } else if (action == u"relative") {
            QDir::setCurrent(env.scratch());
            QVERIFY(list.setPath(argument));
        } else {
            const QModelIndex row = rowNamed(list, argument);
            QVERIFY(row.isValid());
            if (action == u"enter") {
                list.setCurrentIndex(row);
                QTest::keyClick(&list, Qt::Key_Return);
            } else {
                doubleClick(list, row);
            }
        }
        QCOMPARE(list.path(), QDir::toNativeSeparators(under(expected)));
        QCOMPARE(changed.count(), changes);
    }

    void refusedPaths_data()
    {
        addUnlistablePathRows();
        QTest::newRow("empty") << "";
    }
    void refusedPaths()
    {
        QFETCH(QString, relative);
        TestEnvironment env;
        const QString start = env.makeDirectory("start/sub");
        env.makeFile("file.plt");
        DirList list;
        QVERIFY(list.setPath(start));
        const QStringList rows = rowTexts(*list.model());
        QSignalSpy changed(&list, &DirList::pathChanged);
        QString reason;
        QVERIFY(!list.setPath(relative.isEmpty() ? relative : env.scratch() + u'/' + relative, &reason));
        QVERIFY(!reason.isEmpty());
        QCOMPARE(list.path(), start);
        QCOMPARE(rowTexts(*list.model()), rows);
        QCOMPARE(changed.count(), 0);
    }

    void vanishedSubdirectoryStays()
    {
        TestEnvironment env;
        const QString start = env.makeDirectory("a/b");
        DirList list;
        show(list);
        QVERIFY(list.setPath(env.scratch() + "/a"));
        const QModelIndex row = rowNamed(list, "b");
        QVERIFY(QDir(start).removeRecursively());
        QSignalSpy changed(&list, &DirList::pathChanged);
        list.setCurrentIndex(row);
        QTest::keyClick(&list, Qt::Key_Enter);
        QCOMPARE(list.path(), env.scratch() + "/a");
        QCOMPARE(changed.count(), 0);
    }

    void fileListing_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("plot files in any case, links too")
            << "*.plt" << QStringList { "a.plt", "ab.plt", "B.PLT", "link.plt", "x.Plt" };
        QTest::newRow("upper-case pattern")
            << "*.PLT" << QStringList { "a.plt", "ab.plt", "B.PLT", "link.plt", "x.Plt" };
        QTest::newRow("question mark") << "?.plt" << QStringList { "a.plt", "B.PLT", "x.Plt" };
        QTest::newRow("list") << "*.txt;readme" << QStringList { "notes.txt", "readme" };
        QTest::newRow("everything") << "*"
                                    << QStringList { "a.plt", "ab.plt", "B.PLT", "link.plt", "notes.txt",
                                           "readme", "x.Plt" };
        QTest::newRow("empty lists everything")
            << "" << QStringList { "a.plt", "ab.plt", "B.PLT", "link.plt", "notes.txt", "readme", "x.Plt" };
        QTest::newRow("nothing matches") << "*.hgl" << QStringList {};
    }
    void fileListing()
    {
        QFETCH(QString, pattern);
        QFETCH(QStringList, entries);
        TestEnvironment env;
        const QString directory = env.makeDirectory("plots");
        makeFiles(directory, { "x.Plt", "B.PLT", "a.plt", "ab.plt", "notes.txt", "readme", ".hidden.plt" });
        env.makeDirectory("plots/sub.plt");
        QVERIFY(QFile::link(directory + "/a.plt", directory + "/link.plt"));
        QVERIFY(QFile::link(directory + "/gone.plt", directory + "/dangling.plt"));
        FileList list;
        list.setPattern(pattern);
        list.setPath(directory);
        QCOMPARE(list.pattern(), pattern);
        QCOMPARE(list.entries(), entries);
    }

    void unlistableDirectory_data() { addUnlistablePathRows(); }
    void unlistableDirectory()
    {
        QFETCH(QString, relative);
        TestEnvironment env;
        const QString directory = env.makeDirectory("plots");
        makeFiles(directory, { "a.plt" });
        env.makeFile("file.plt");
        FileList list;
        list.setPath(directory);
        list.selectAll();
        QCOMPARE(list.count(), 1);
        list.setPath(env.scratch() + u'/' + relative);
        QCOMPARE(list.count(), 0);
        QVERIFY(list.selectedRows().isEmpty());
    }

    void refreshKeepsSelection()
    {
        TestEnvironment env;
        const QString directory = env.makeDirectory("plots");
        makeFiles(directory, { "a.plt", "b.plt", "c.plt" });
        FileList list;
        list.setPath(directory);
        list.selectRows({ 0, 2 });
        list.selectionModel()->setCurrentIndex(list.model()->index(1, 0), QItemSelectionModel::NoUpdate);
        const QSignalSpy resets(list.model(), &QAbstractItemModel::modelReset);

        // Nothing the list shows changed: the list stays as it is.
        makeFiles(directory, { "notes.txt", ".hidden.plt" });
        list.refresh();
        list.refresh();
        QCOMPARE(resets.count(), 0);
        QCOMPARE(selectedEntries(list), (QStringList { "a.plt", "c.plt" }));
        QCOMPARE(list.currentIndex().row(), 1);

        QVERIFY(QFile::remove(directory + "/c.plt"));
        makeFiles(directory, { "0.plt" });
        list.refresh();
        QCOMPARE(list.entries(), (QStringList { "0.plt", "a.plt", "b.plt" }));
        QCOMPARE(selectedEntries(list), QStringList { "a.plt" });
        QCOMPARE(list.currentIndex().data().toString(), QStringLiteral("b.plt"));

        QVERIFY(QFile::remove(directory + "/b.plt"));
        list.refresh();
        QCOMPARE(list.entries(), (QStringList { "0.plt", "a.plt" }));
        QCOMPARE(selectedEntries(list), QStringList { "a.plt" });
        QVERIFY(!list.currentIndex().isValid());
    }

    void refreshKeepsALargeSelection()
    {
        // Many changes at once, scattered through the directory's own order.
        TestEnvironment env;
        const QString directory = env.makeDirectory("plots");
        const QStringList names = numberedNames(1'000);
        makeFiles(directory, names);
        FileList list;
        list.setPattern("*");
        list.setPath(directory);
        list.selectAll();
        for (const QString &name : names.mid(100, 300))
            QVERIFY(QFile::remove(directory + u'/' + name));
        const QStringList added { "a.plt", "f00150.new", "z.plt" };
        makeFiles(directory, added);
        list.refresh();

        QStringList remaining = names.mid(0, 100) + names.mid(400);
        QCOMPARE(selectedEntries(list), remaining);
        remaining += added;
        remaining.sort(Qt::CaseInsensitive);
        QCOMPARE(list.entries(), remaining);
    }

    void extendedSelection_data()
    {
        QTest::addColumn<QStringList>("clicks"); // a row, after "shift" or "ctrl" for a modified click
        QTest::addColumn<QList<qsizetype>>("selected");
        QTest::newRow("click") << QStringList { "1" } << QList<qsizetype> { 1 };
        QTest::newRow("second click replaces") << QStringList { "1", "3" } << QList<qsizetype> { 3 };
        QTest::newRow("shift extends a range")
            << QStringList { "1", "shift 3" } << QList<qsizetype> { 1, 2, 3 };
        QTest::newRow("shift range upwards")
            << QStringList { "3", "shift 0" } << QList<qsizetype> { 0, 1, 2, 3 };
        QTest::newRow("ctrl adds") << QStringList { "0", "ctrl 2", "ctrl 4" } << QList<qsizetype> { 0, 2, 4 };
        QTest::newRow("ctrl toggles off")
            << QStringList { "0", "ctrl 2", "ctrl 0" } << QList<qsizetype> { 2 };
    }
    void extendedSelection()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QList<qsizetype>, selected);
        PrintList list;
        list.append({ "p0", "p1", "p2", "p3", "p4" });
        show(list);
        for (const QString &click : clicks) {
            const QStringList parts = click.split(u' ');
            const Qt::KeyboardModifiers modifiers = parts.first() == u"shift" ? Qt::ShiftModifier
                : parts.first() == u"ctrl"                                    ? Qt::ControlModifier
                                                                              : Qt::NoModifier;
            const QModelIndex row = list.model()->index(parts.last().toInt(), 0);
            QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers, list.visualRect(row).center());
        }
        QCOMPARE(list.selectedRows(), selected);
    }

    void selectRows_data()
    {
        QTest::addColumn<QList<qsizetype>>("rows");
        QTest::addColumn<QList<qsizetype>>("selected");
        QTest::newRow("in order") << QList<qsizetype> { 0, 2, 3 } << QList<qsizetype> { 0, 2, 3 };
        QTest::newRow("out of order") << QList<qsizetype> { 4, 0, 2 } << QList<qsizetype> { 0, 2, 4 };
        QTest::newRow("twice") << QList<qsizetype> { 1, 1, 2, 2 } << QList<qsizetype> { 1, 2 };
        QTest::newRow("outside the list") << QList<qsizetype> { -2, -1, 0, 5, 9 } << QList<qsizetype> { 0 };
        QTest::newRow("only outside") << QList<qsizetype> { -1, 5 } << QList<qsizetype> {};
        QTest::newRow("none") << QList<qsizetype> {} << QList<qsizetype> {};
    }
    void selectRows()
    {
        QFETCH(QList<qsizetype>, rows);
        QFETCH(QList<qsizetype>, selected);
        PrintList list;
        list.append({ "e0", "e1", "e2", "e3", "e4" });
        list.selectRows(rows);
        QCOMPARE(list.selectedRows(), selected);

        // Earlier selections stay.
        list.selectRows({ 4 });
        selected.removeAll(4);
        selected.append(4);
        QCOMPARE(list.selectedRows(), selected);
    }

    void entryModelKeepsTheModelContract()
    {
        EntryListModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setEntries({ "a", "b", "c" });
        model.append({ "d", "e" });
        model.removeMarked({ true, false, true });
        QCOMPARE(model.entries(), (QStringList { "b", "d", "e" }));
        QCOMPARE(model.index(2, 0).data().toString(), QStringLiteral("e"));
        for (const QModelIndex &outside : { model.index(-1, 0), model.index(3, 0), model.index(0, 1),
                 model.index(0, 0, model.index(0, 0)) })
            QVERIFY(!outside.isValid());
        model.setEntries({});
    }

    void largePrintList()
    {
        // Far beyond the 32 767 entries a 16-bit count could hold.
        const QStringList entries = numberedNames(40'000);
        PrintList list;
        show(list);
        list.append(entries);
        list.append(entries.mid(0, 3)); // duplicates are kept
        QCOMPARE(list.count(), 40'003);
        QList<qsizetype> everyThird;
        QStringList kept;
        for (qsizetype row = 0; row < list.count(); ++row) {
            if (row % 3 == 0)
                everyThird.append(row);
            else
                kept.append(list.entry(row));
        }
        list.selectRows(everyThird);
        QCOMPARE(list.selectedRows(), everyThird);
        QVERIFY(list.isSelected(39'999));
        QVERIFY(!list.isSelected(40'001));
        list.removeSelected();
        QCOMPARE(list.entries(), kept);
        QVERIFY(list.selectedRows().isEmpty());
    }
};

QTEST_MAIN(tst_BrowseLists)
#include "tst_browselists.moc"
