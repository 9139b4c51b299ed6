#include "tarnwick/plot/PreviewPages.h"

#include <QTest>

namespace {

/// Which pages a window holds, from 0: of `total`, `held` pages from `first` on.
struct Held
{
    qsizetype total;
    qsizetype first;
    qsizetype held;
};

/// The pages of `run`, of which the first `made` have their pictures (all, when it is -1).
PreviewPages pagesOf(Held run, qsizetype current, qsizetype made = -1)
{
    QList<QByteArray> pictures(run.held);
    for (qsizetype page = 0; page < run.held && (made < 0 || page < made); ++page)
        pictures[page] = "picture";
    return PreviewPages(run.total, run.first, pictures, current);
}

} // namespace

Q_DECLARE_METATYPE(Held)

class tst_PreviewPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keysTurnPages_data()
    {
        QTest::addColumn<Held>("run");
        QTest::addColumn<qsizetype>("current");
        QTest::addColumn<int>("key");
        QTest::addColumn<qsizetype>("page"); // -1: the key turns nowhere

        const Held three { 3, 0, 3 };
        const auto row = [](const char *name, Held run, qsizetype current, Qt::Key key, qsizetype page) {
            QTest::newRow(name) << run << current << int(key) << page;
        };
        row("Page Down from the first", three, 0, Qt::Key_PageDown, 1);
        row("Page Down on the last", three, 2, Qt::Key_PageDown, -1);
        row("Page Up from the last", three, 2, Qt::Key_PageUp, 1);
        row("Page Up on the first", three, 0, Qt::Key_PageUp, -1);
        row("Home from the middle", three, 1, Qt::Key_Home, 0);
        row("Home on the first", three, 0, Qt::Key_Home, -1);
        row("End from the first", three, 0, Qt::Key_End, 2);
        row("End on the last", three, 2, Qt::Key_End, -1);
        row("one page: Page Down", { 1, 0, 1 }, 0, Qt::Key_PageDown, -1);
        row("one page: End", { 1, 0, 1 }, 0, Qt::Key_End, -1);
        row("a key that turns no page", three, 0, Qt::Key_Down, -1);
        // A long plot whose window holds a run of its pages turns only within the run.
        row("End of the run held", { 1000, 0, 200 }, 0, Qt::Key_End, 199);
        row("Page Down past the run held", { 1000, 0, 200 }, 199, Qt::Key_PageDown, -1);
        row("Home of a later run", { 1000, 300, 200 }, 310, Qt::Key_Home, 300);
        row("Page Up before a later run", { 1000, 300, 200 }, 300, Qt::Key_PageUp, -1);
    }
    void keysTurnPages()
    {
        QFETCH(Held, run);
        QFETCH(qsizetype, current);
        QFETCH(int, key);
        QFETCH(qsizetype, page);
        QCOMPARE(pagesOf(run, current).pageForKey(key), page);
        QCOMPARE(PreviewPages::isPageKey(key), key != Qt::Key_Down);
    }

    void caption_data()
    {
        QTest::addColumn<Held>("run");
        QTest::addColumn<qsizetype>("page");
        QTest::addColumn<qsizetype>("made"); // -1: every page held
        QTest::addColumn<bool>("stopped");
        QTest::addColumn<QString>("caption");

        const Held three { 3, 0, 3 };
        QTest::newRow("one page: the name alone") << Held { 1, 0, 1 } << qsizetype(0) << qsizetype(-1)
                                                  << false << QStringLiteral("Preview of : A.PLT");
        QTest::newRow("first of three") << three << qsizetype(0) << qsizetype(-1) << false
                                        << QStringLiteral("Preview of : A.PLT (page 1 of 3)");
        QTest::newRow("last of fifty") << Held { 50, 0, 50 } << qsizetype(49) << qsizetype(-1) << false
                                       << QStringLiteral("Preview of : A.PLT (page 50 of 50)");
        QTest::newRow("a run of a long plot")
            << Held { 1000, 300, 200 } << qsizetype(310) << qsizetype(-1) << false
            << QStringLiteral("Preview of : A.PLT (page 311 of 1000; pages 301 to 500 shown)");
        QTest::newRow("a page still to come")
            << three << qsizetype(1) << qsizetype(1) << false
            << QStringLiteral("Preview of : A.PLT (page 2 of 3, being made)");
        QTest::newRow("the server stopped")
            << three << qsizetype(0) << qsizetype(2) << true
            << QStringLiteral("Preview of : A.PLT (page 1 of 3; the plot server stopped after 2 of them)");
        QTest::newRow("the server stopped before this page")
            << three << qsizetype(2) << qsizetype(1) << true
            << QStringLiteral(
                   "Preview of : A.PLT (page 3 of 3, not made; the plot server stopped after 1 of them)");
    }
    void caption()
    {
        QFETCH(Held, run);
        QFETCH(qsizetype, page);
        QFETCH(qsizetype, made);
        QFETCH(bool, stopped);
        QFETCH(QString, caption);
        QCOMPARE(pagesOf(run, page, made).caption(QStringLiteral("A.PLT"), page, stopped), caption);
    }
};

QTEST_APPLESS_MAIN(tst_PreviewPages)
#include "tst_previewpages.moc"
