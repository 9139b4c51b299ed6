#include "Form1Fixture.h"
#include "PrintListFiller.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {

const QString FailureText
    = QStringLiteral("OLE Automation failure, make sure you have PDMS PlotViewer(tm) properly installed.");

QStringList expectedRun(const QString &dir, const QStringList &names, int mode, bool actualSize)
{
    QStringList trace;
    for (const QString &name : names) {
        trace << QStringLiteral("Open(%1/%2)").arg(dir, name) << QStringLiteral("SetColorMode(%1)").arg(mode);
        if (actualSize)
            trace << QStringLiteral("ActualSize()");
        trace << QStringLiteral("DoPrint()");
    }
    return trace;
}

} // namespace

class tst_PrintRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QApplication::closeAllWindows(); }

    void callSequence_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("actualSize");
        QTest::newRow("colour") << "optColor" << 1 << false;
        QTest::newRow("black and white") << "optBandW" << 0 << false;
        QTest::newRow("grey scale") << "optGrey" << 2 << false;
        QTest::newRow("colour, actual size") << "optColor" << 1 << true;
        QTest::newRow("grey scale, actual size") << "optGrey" << 2 << true;
    }
    void callSequence()
    {
        QFETCH(QString, option);
        QFETCH(int, mode);
        QFETCH(bool, actualSize);
        Form1Fixture f;
        f.start();
        const QStringList names { "a.plt", "b.plt", "c.plt" };
        const QString dir = fillPrintList(f, names);
        f.form->findChild<QRadioButton *>(option)->click();
        f.control<QCheckBox>("chkActSze")->setChecked(actualSize);
        QCOMPARE(int(f.form->colourMode()), mode);

        f.control<QPushButton>("cmdPrint")->click();
        QCOMPARE(f.server->log().trace(), expectedRun(dir, names, mode, actualSize));
        QCOMPARE(f.server->log().liveDocuments, 0);
        QCOMPARE(f.boxes.count(), 0);
        // The list stays as it was and can be printed again.
        QCOMPARE(f.control<QLineEdit>("txtCount")->text(), QStringLiteral("3"));
        f.control<QPushButton>("cmdPrint")->click();
        QCOMPARE(f.server->log().trace(), expectedRun(dir, names + names, mode, actualSize));
    }

    void emptyListMakesNoCall_data()
    {
        QTest::addColumn<bool>("serverHeld");
        QTest::newRow("server held") << true;
        QTest::newRow("no server held") << false;
    }
    void emptyListMakesNoCall()
    {
        QFETCH(bool, serverHeld);
        Form1Fixture f;
        f.start();
        if (!serverHeld) {
            fillPrintList(f, { "x.plt" });
            f.server->log().failCall(QStringLiteral("Open"), 1);
            f.control<QPushButton>("cmdPrint")->click();
            QVERIFY(!f.form->holdsPlotServer());
            f.control<QPushButton>("cmdClear")->click();
        }
        const qsizetype callsBefore = f.server->log().calls.size();
        const int boxesBefore = f.boxes.count();
        f.control<QPushButton>("cmdPrint")->click();
        QCOMPARE(f.server->log().calls.size(), callsBefore);
        QCOMPARE(f.boxes.count(), boxesBefore);
    }

    void failureStopsTheRun_data()
    {
        QTest::addColumn<QString>("failingMember");
        QTest::addColumn<int>("occurrence");
        QTest::addColumn<int>("callsMade");
        QTest::newRow("second file cannot be opened") << "Open" << 2 << 4;
        QTest::newRow("second print fails") << "DoPrint" << 2 << 6;
        QTest::newRow("colour mode refused") << "SetColorMode" << 1 << 2;
    }
    void failureStopsTheRun()
    {
        QFETCH(QString, failingMember);
        QFETCH(int, occurrence);
        QFETCH(int, callsMade);
        Form1Fixture f;
        f.start();
        const QString dir = fillPrintList(f, { "a.plt", "b.plt", "c.plt" });
        f.server->log().failCall(failingMember, occurrence);
        f.control<QPushButton>("cmdPrint")->click();

        QCOMPARE(f.server->log().calls.size(), callsMade); // nothing after the failing call
        QCOMPARE(f.boxes.count(), 1);
        const SeenMessageBox box = f.boxes.seen().first();
        QCOMPARE(box.title, QStringLiteral("Print Server Failed"));
        QCOMPARE(box.text, FailureText);
        QCOMPARE(box.icon, QMessageBox::NoIcon);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(!f.form->holdsPlotServer());
        QCOMPARE(f.server->log().liveServers, 0);
        QCOMPARE(f.server->log().liveDocuments, 0);
        QVERIFY(!f.guard.hasEnded());

        // With the reference empty the next run fails at once, until print setup mends it.
        f.control<QPushButton>("cmdPrint")->click();
        QCOMPARE(f.server->log().calls.size(), callsMade);
        QCOMPARE(f.boxes.count(), 2);
        f.control<QPushButton>("cmdPrintSet")->click();
        QCOMPARE(f.server->log().trace().last(), QStringLiteral("PrintSetup()"));
        QVERIFY(f.form->holdsPlotServer());
        f.server->log().calls.clear();
        f.control<QPushButton>("cmdPrint")->click();
        QCOMPARE(f.server->log().trace(), expectedRun(dir, { "a.plt", "b.plt", "c.plt" }, 1, false));
        QCOMPARE(f.boxes.count(), 2);
    }

    void printSetupReplacesTheServer()
    {
        Form1Fixture f;
        f.start();
        QCOMPARE(f.server->log().serversCreated, 1);
        f.control<QPushButton>("cmdPrintSet")->click();
        QCOMPARE(f.server->log().serversCreated, 2);
        QCOMPARE(f.server->log().liveServers, 1);
        QCOMPARE(f.server->log().calls.first().object, QStringLiteral("server2"));
        QCOMPARE(f.boxes.count(), 0);
    }

    void failingPrintSetupKeepsTheProgramRunning_data()
    {
        QTest::addColumn<bool>("creationFails");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("serverAfter");
        QTest::newRow("no server") << true << "the fake server refuses to start"
                                   << "server1";
        QTest::newRow("print setup fails") << false << "\"PrintSetup\" failed: no printer"
                                           << "server2";
    }
    void failingPrintSetupKeepsTheProgramRunning()
    {
        QFETCH(bool, creationFails);
        QFETCH(QString, description);
        QFETCH(QString, serverAfter);
        Form1Fixture f;
        f.start();
        const QString dir = fillPrintList(f, { "a.plt", "b.plt" });
        f.server->log().creationFails = creationFails;
        f.server->log().failCall(QStringLiteral("PrintSetup"), 1, QStringLiteral("no printer"));
        f.control<QPushButton>("cmdPrintSet")->click();

        QCOMPARE(f.boxes.count(), 1);
        QVERIFY2(f.boxes.seen().first().text.contains(description), qPrintable(f.boxes.seen().first().text));
        QVERIFY(!f.guard.hasEnded());
        QCOMPARE(f.control<QLineEdit>("txtCount")->text(), QStringLiteral("2"));
        // The reference is what the failed step left.
        f.server->log().creationFails = false;
        f.server->log().calls.clear();
        f.control<QPushButton>("cmdPrint")->click();
        QCOMPARE(f.server->log().calls.first().object, serverAfter);
        QCOMPARE(f.server->log().trace(), expectedRun(dir, { "a.plt", "b.plt" }, 1, false));
    }
};

QTEST_MAIN(tst_PrintRun)
#include "tst_printrun.moc"
