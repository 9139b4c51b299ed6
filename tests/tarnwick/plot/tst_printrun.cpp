#include "FakePlotServer.h"
#include "tarnwick/automation/AutomationError.h"
#include "tarnwick/plot/PlotServer.h"
#include "tarnwick/plot/PrintRun.h"

#include <QTest>

using PlotViewer::ColourModeNumber;

namespace {

const QStringList ThreePlots { "/plots/a.plt", "/plots/b.plt", "/plots/c.plt" };

QStringList expectedRun(const QStringList &paths, int mode, bool actualSize)
{
    QStringList trace;
    for (const QString &path : paths) {
        trace << QStringLiteral("Open(%1)").arg(path) << QStringLiteral("SetColorMode(%1)").arg(mode);
        if (actualSize)
            trace << QStringLiteral("ActualSize()");
        trace << QStringLiteral("DoPrint()");
    }
    return trace;
}

/// Runs the print and says what it threw, or an empty string.
QString printFailure(const PlotServer &server, const QStringList &paths,
    ColourModeNumber mode = ColourModeNumber::Colour, bool actualSize = false)
{
    try {
        PrintRun::printAll(server.object(), paths, mode, actualSize);
    } catch (const AutomationError &error) {
        return error.description();
    }
    return {};
}

} // namespace

class tst_PrintRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void callSequence_data()
    {
        QTest::addColumn<ColourModeNumber>("mode");
        QTest::addColumn<bool>("actualSize");
        QTest::newRow("colour") << ColourModeNumber::Colour << false;
        QTest::newRow("black and white") << ColourModeNumber::BlackAndWhite << false;
        QTest::newRow("grey scale") << ColourModeNumber::GreyScale << false;
        QTest::newRow("colour, actual size") << ColourModeNumber::Colour << true;
        QTest::newRow("grey scale, actual size") << ColourModeNumber::GreyScale << true;
    }
    void callSequence()
    {
        QFETCH(ColourModeNumber, mode);
        QFETCH(bool, actualSize);
        FakePlotServerRegistration fake;
        PlotServer server;
        server.create();
        QCOMPARE(printFailure(server, ThreePlots, mode, actualSize), QString());
        QCOMPARE(fake.log().trace(), expectedRun(ThreePlots, int(mode), actualSize));
        QCOMPARE(fake.log().liveDocuments, 0);
        QCOMPARE(fake.log().documentsCreated, 3);
        // The same list prints again.
        QCOMPARE(printFailure(server, ThreePlots, mode, actualSize), QString());
        QCOMPARE(fake.log().trace(), expectedRun(ThreePlots + ThreePlots, int(mode), actualSize));
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
        FakePlotServerRegistration fake;
        PlotServer server;
        if (serverHeld)
            server.create();
        QCOMPARE(printFailure(server, {}), QString());
        QVERIFY(fake.log().calls.isEmpty());
    }

    void failureStopsTheRun_data()
    {
        QTest::addColumn<QString>("failingMember");
        QTest::addColumn<int>("occurrence");
        QTest::addColumn<bool>("actualSize");
        QTest::addColumn<int>("callsMade");
        QTest::newRow("second file cannot be opened") << "Open" << 2 << false << 4;
        QTest::newRow("second print fails") << "DoPrint" << 2 << false << 6;
        QTest::newRow("colour mode refused") << "SetColorMode" << 1 << false << 2;
        QTest::newRow("third actual size refused") << "ActualSize" << 3 << true << 11;
    }
    void failureStopsTheRun()
    {
        QFETCH(QString, failingMember);
        QFETCH(int, occurrence);
        QFETCH(bool, actualSize);
        QFETCH(int, callsMade);
        FakePlotServerRegistration fake;
        PlotServer server;
        server.create();
        fake.log().failCall(failingMember, occurrence);
        const QString failure = printFailure(server, ThreePlots, ColourModeNumber::Colour, actualSize);
        QVERIFY2(failure.contains(failingMember) && failure.contains(QStringLiteral("simulated failure")),
            qPrintable(failure));
        QCOMPARE(fake.log().calls.size(), callsMade); // nothing after the failing call
        QCOMPARE(fake.log().trace().last().section(u'(', 0, 0), failingMember);
        QCOMPARE(fake.log().liveDocuments, 0);
        // The run itself leaves the reference alone: releasing it is the caller's report.
        QVERIFY(server.isHeld());
        QCOMPARE(fake.log().liveServers, 1);
    }

    void progressCanStopTheRun_data()
    {
        QTest::addColumn<int>("stopBefore"); // -1: never
        QTest::addColumn<QString>("failingPrint"); // DoPrint's occurrence that fails, or empty
        QTest::addColumn<int>("printed");
        QTest::addColumn<int>("told");
        QTest::newRow("goes on to the end") << -1 << "" << 3 << 3;
        QTest::newRow("stopped before the first") << 0 << "" << 0 << 1;
        QTest::newRow("stopped before the third") << 2 << "" << 2 << 3;
        QTest::newRow("failure ends it first") << -1 << "2" << 1 << 2;
    }
    void progressCanStopTheRun()
    {
        QFETCH(int, stopBefore);
        QFETCH(QString, failingPrint);
        QFETCH(int, printed);
        QFETCH(int, told);
        FakePlotServerRegistration fake;
        PlotServer server;
        server.create();
        if (!failingPrint.isEmpty())
            fake.log().failCall(QStringLiteral("DoPrint"), failingPrint.toInt());
        QStringList progress;
        const auto entryStarting = [&](qsizetype index, qsizetype count, const QString &path) {
            // Each entry is announced before its first call reaches the server.
            progress << QStringLiteral("%1/%2 %3 after %4 calls")
                            .arg(index)
                            .arg(count)
                            .arg(path)
                            .arg(fake.log().calls.size());
            return index != stopBefore;
        };
        try {
            PrintRun::printAll(server.object(), ThreePlots, ColourModeNumber::GreyScale, true, entryStarting);
            QVERIFY(failingPrint.isEmpty());
        } catch (const AutomationError &) {
            QVERIFY(!failingPrint.isEmpty());
        }
        QStringList expectedProgress;
        for (int index = 0; index < told; ++index)
            expectedProgress << QStringLiteral("%1/3 %2 after %3 calls")
                                    .arg(index)
                                    .arg(ThreePlots.at(index))
                                    .arg(4 * index);
        QCOMPARE(progress, expectedProgress);
        const int calls = failingPrint.isEmpty() ? 4 * printed : 4 * (printed + 1);
        QCOMPARE(fake.log().trace(), expectedRun(ThreePlots, 2, true).mid(0, calls));
        QCOMPARE(fake.log().liveDocuments, 0);
    }

    void emptyReferenceFailsAtOnce()
    {
        FakePlotServerRegistration fake;
        PlotServer server;
        server.create();
        server.release();
        QCOMPARE(fake.log().liveServers, 0);
        QVERIFY(printFailure(server, ThreePlots).contains(QStringLiteral("Object variable not set")));
        QVERIFY(fake.log().calls.isEmpty());
    }

    void printSetupReplacesTheServer()
    {
        FakePlotServerRegistration fake;
        PlotServer server;
        server.create();
        QCOMPARE(fake.log().serversCreated, 1);
        server.printSetup();
        QCOMPARE(fake.log().serversCreated, 2);
        QCOMPARE(fake.log().liveServers, 1);
        QCOMPARE(fake.log().trace(), QStringList { "PrintSetup()" });
        QCOMPARE(fake.log().calls.first().object, QStringLiteral("server2"));
    }

    void printSetupMendsAnEmptyReference()
    {
        FakePlotServerRegistration fake;
        PlotServer server;
        QVERIFY(!server.isHeld());
        server.printSetup();
        QVERIFY(server.isHeld());
        QCOMPARE(printFailure(server, ThreePlots), QString());
        QCOMPARE(fake.log().trace(), QStringList { "PrintSetup()" } + expectedRun(ThreePlots, 1, false));
    }

    void failingPrintSetupLeavesWhatItMade_data()
    {
        QTest::addColumn<bool>("creationFails");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("serverAfter");
        QTest::newRow("no server") << true << "the fake server refuses to start"
                                   << "server1";
        QTest::newRow("print setup fails") << false << "\"PrintSetup\" failed: no printer"
                                           << "server2";
    }
    void failingPrintSetupLeavesWhatItMade()
    {
        QFETCH(bool, creationFails);
        QFETCH(QString, description);
        QFETCH(QString, serverAfter);
        FakePlotServerRegistration fake;
        PlotServer server;
        server.create();
        fake.log().creationFails = creationFails;
        fake.log().failCall(QStringLiteral("PrintSetup"), 1, QStringLiteral("no printer"));
        try {
            server.printSetup();
            QFAIL("the print setup did not fail");
        } catch (const AutomationError &error) {
            QVERIFY2(error.description().contains(description), qPrintable(error.description()));
        }
        QCOMPARE(fake.log().liveServers, 1);
        fake.log().creationFails = false;
        fake.log().calls.clear();
        QCOMPARE(printFailure(server, { "/plots/a.plt" }), QString());
        QCOMPARE(fake.log().calls.first().object, serverAfter);
    }
};

QTEST_GUILESS_MAIN(tst_PrintRun)
#include "tst_printrun.moc"
