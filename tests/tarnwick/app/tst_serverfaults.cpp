// The main window over the real plot server process when that server fails: it crashes or hangs in
// the middle of a print run, the user cancels a long file, or it cannot be started at all. The
// program always survives, with its print list as it was.

#include "Form1Fixture.h"
#include "ServerProcesses.h"
#include "tarnwick/automation/AutomationRegistry.h"
#include "tarnwick/browse/PrintList.h"

#include <QDirIterator>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <csignal>

namespace {

/// Acts once, as soon as `ready` holds, while a handler runs the event loop.
class WhenReady : public QObject
{
public:
    WhenReady(std::function<bool()> ready, std::function<void()> act)
        : m_ready(std::move(ready))
        , m_act(std::move(act))
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (!m_done && m_ready()) {
                m_done = true;
                m_act();
            }
        });
        m_timer.start(20);
    }
    bool done() const { return m_done; }

private:
    std::function<bool()> m_ready;
    std::function<void()> m_act;
    QTimer m_timer;
    bool m_done = false;
};

/// Presses the print run's Cancel as the user does.
void pressCancel(const Form1Fixture &f)
{
    f.form->findChild<QProgressDialog *>()->findChild<QPushButton *>()->click();
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_ServerFaults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // The servers' private folders go here, where the test can look into them.
        QVERIFY(m_tmp.isValid());
        qputenv("TMPDIR", QFile::encodeName(m_tmp.path()));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_tmp.path()));
    }

    void init()
    {
        m_printed = m_tmp.filePath(QStringLiteral("printed.pdf"));
        QFile::remove(m_printed);
        keepPrintSetupToFile(m_printed);
        m_long = writeManyPagesPlot(m_tmp.filePath(QStringLiteral("long.plt")), 20000);
        m_short = writeManyPagesPlot(m_tmp.filePath(QStringLiteral("short.plt")), 1);
        QVERIFY(!m_long.isEmpty() && !m_short.isEmpty());
    }

    void cleanup() { QTRY_VERIFY(serverProcesses().isEmpty()); }

    void crashInARunShowsOneBoxAndPrintSetupRecovers()
    {
        Form1Fixture f;
        f.startWithRealServer();
        QVERIFY(f.loaded);
        auto *list = f.control<PrintList>("List1");
        list->append({ m_long, m_short });
        WhenReady crash(
            [this] { return printing(); }, [] { ::kill(pid_t(serverProcesses().value(0)), SIGSEGV); });
        f.control<QPushButton>("cmdPrint")->click();
        QVERIFY(crash.done());
        QCOMPARE(f.boxes.count(), 1);
        QCOMPARE(f.boxes.seen().first().title, QStringLiteral("Print Server Failed"));
        QCOMPARE(list->count(), 2);
        QVERIFY(!f.form->holdsPlotServer());
        QVERIFY(!QFile::exists(m_printed)); // nothing half printed
        QCOMPARE(f.exitCode, -1);

        // Print setup brings a server back (its dialog has no display here, which it says).
        f.control<QPushButton>("cmdPrintSet")->click();
        QVERIFY(f.form->holdsPlotServer());
        QCOMPARE(f.boxes.count(), 2);
        QVERIFY2(
            f.boxes.seen().last().text.contains(u"needs a display"), qPrintable(f.boxes.seen().last().text));
        list->clear();
        list->append({ m_short });
        f.control<QPushButton>("cmdPrint")->click();
        QCOMPARE(f.boxes.count(), 2);
        QVERIFY(readAll(m_printed).contains("/Count 1"));
    }

    void cancelEndsAServerThatHangs()
    {
        Form1Fixture f;
        f.startWithRealServer();
        f.control<PrintList>("List1")->append({ m_long, m_short });
        qint64 hung = 0;
        WhenReady hang([this] { return printing(); },
            [&hung] {
                hung = serverProcesses().value(0);
                ::kill(pid_t(hung), SIGSTOP);
            });
        WhenReady cancel([&hang] { return hang.done(); }, [&f] { pressCancel(f); });
        f.control<QPushButton>("cmdPrint")->click();
        QVERIFY(cancel.done());
        QCOMPARE(f.boxes.count(), 0); // the user asked for the stop
        QVERIFY(f.form->holdsPlotServer());
        QTRY_VERIFY(!serverProcesses().contains(hung));
        QVERIFY(!QFile::exists(m_printed));

        // The next run prints through a fresh server, without a word.
        f.control<PrintList>("List1")->clear();
        f.control<PrintList>("List1")->append({ m_short });
        f.control<QPushButton>("cmdPrint")->click();
        QCOMPARE(f.boxes.count(), 0);
        QVERIFY(readAll(m_printed).contains("/Count 1"));
    }

    void cancelStopsInTheMiddleOfAFile()
    {
        Form1Fixture f;
        f.startWithRealServer();
        f.control<PrintList>("List1")->append({ m_long, m_short });
        WhenReady cancel([this] { return printing(); }, [&f] { pressCancel(f); });
        f.control<QPushButton>("cmdPrint")->click();
        QVERIFY(cancel.done());
        QCOMPARE(f.boxes.count(), 0);
        // Neither the file printing nor the one after it came out, and nothing is left behind.
        QVERIFY(!QFile::exists(m_printed));
        QTRY_COMPARE(QDir(m_tmp.path()).entryList({ QStringLiteral("tarnwick-server-*") }, QDir::Dirs).size(),
            1); // the fresh server's own
        QCOMPARE(f.control<PrintList>("List1")->count(), 2);
    }

    void closingEndsAServerThatHangs()
    {
        Form1Fixture f;
        f.startWithRealServer();
        const qint64 server = serverProcesses().value(0);
        ::kill(pid_t(server), SIGSTOP);
        f.form->close();
        QCOMPARE(f.exitCode, 0);
        QTRY_VERIFY(!serverProcesses().contains(server));
    }

    void serverThatCannotStartEndsTheStart()
    {
        QTemporaryDir folder;
        QFile description(folder.filePath(QStringLiteral("plotviewer.json")));
        QVERIFY(description.open(QIODevice::WriteOnly));
        description.write(R"({ "ProgIDs": [ "Plotviewer.application" ], "Program": "missing-server" })");
        description.close();
        const QStringList kept = AutomationRegistry::instance().searchFolders();
        AutomationRegistry::instance().setSearchFolders({ folder.path() });
        Form1Fixture f;
        f.startWithRealServer();
        AutomationRegistry::instance().setSearchFolders(kept);
        QVERIFY(!f.loaded);
        QCOMPARE(f.exitCode, 1);
        QCOMPARE(f.boxes.count(), 1);
        QVERIFY2(f.boxes.seen().first().text.startsWith(u"The automation server \"Plotviewer.application\" "
                                                        u"could not be started: it could not be run"),
            qPrintable(f.boxes.seen().first().text));
    }

private:
    /// Whether a server is printing a job now: the job's file is being written aside.
    bool printing() const
    {
        QDirIterator jobs(m_tmp.path(), { QStringLiteral("tarnwick-print-*.pdf") }, QDir::Files,
            QDirIterator::Subdirectories);
        while (jobs.hasNext()) {
            if (QFileInfo(jobs.next()).size() > 0)
                return true;
        }
        return false;
    }

    QTemporaryDir m_tmp;
    QString m_printed;
    QString m_long;
    QString m_short;
};

QTEST_MAIN(tst_ServerFaults)
#include "tst_serverfaults.moc"
