// The plot server in a process of its own, as the program reaches it: started from its description
// in the servers folder, called by member name over a private connection, ended with its last
// reference, and never able to take its caller down.

#include "AutomationFailure.h"
#include "ServerProcesses.h"
#include "contract/PlotServerBus.h"
#include "contract/PlotViewerContract.h"
#include "tarnwick/automation/AutomationError.h"
#include "tarnwick/automation/AutomationObject.h"
#include "tarnwick/automation/AutomationRegistry.h"
#include "tarnwick/automation/RemoteTarget.h"
#include "tarnwick/automation/ServerProcess.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>

namespace {

const QString ProgId = QString::fromLatin1(PlotViewer::ProgId);

QString serversFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/servers");
}

QString sample(const char *name)
{
    return qEnvironmentVariable("TARNWICK_SOURCE_DIR") + QStringLiteral("/samples/") + QLatin1String(name);
}

/// What the server answers a call of PageCount at `path`: the count, or the error's name.
QVariant pageCountAt(const ServerProcess &server, const QString &path)
{
    const QDBusMessage reply = server.connection().call(QDBusMessage::createMethodCall(
        QString(), path, QString(), QString::fromLatin1(PlotViewer::PageCount)));
    return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0)
                                                      : QVariant(reply.errorName());
}

/// Searches `folder` alone for servers while it lives.
class SearchOnly
{
public:
    explicit SearchOnly(const QString &folder)
        : m_kept(AutomationRegistry::instance().searchFolders())
    {
        AutomationRegistry::instance().setSearchFolders({ folder });
    }
    ~SearchOnly() { AutomationRegistry::instance().setSearchFolders(m_kept); }

private:
    QStringList m_kept;
};

} // namespace

class tst_ServerProcess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(serversFolder() + QStringLiteral("/plotviewer-server.json")),
            qPrintable(serversFolder()));
        if (!QFile::exists(sample("pages.plt")))
            QSKIP("the samples folder is not beside the tests (TARNWICK_SOURCE_DIR unset)");
        // The plugin of the same server, alone in a folder: the reference the process must match.
        QVERIFY(m_pluginFolder.isValid());
        QVERIFY(QFile::link(serversFolder() + QStringLiteral("/plotviewer_server.so"),
            m_pluginFolder.filePath(QStringLiteral("plotviewer_server.so"))));
    }

    void cleanup() { QTRY_VERIFY(serverProcesses().isEmpty()); }

    void membersByName_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("member");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<QVariant>("result");
        QTest::addColumn<QString>("failure");
        const QString noPage = QDir::temp().filePath(QStringLiteral("never-written.jpg"));
        const struct
        {
            const char *name;
            QString member;
            QVariantList arguments;
            QVariant result;
            QString failure;
        } rows[] = {
            { "a result", QStringLiteral("PageCount"), {}, 3, {} },
            { "name ignores case", QStringLiteral("pAGEcOUNT"), {}, 3, {} },
            { "argument converted", QStringLiteral("SetColorMode"), { QStringLiteral("2") }, {}, {} },
            { "member's own failure", QStringLiteral("SetColorMode"), { 7 }, {},
                QStringLiteral("\"SetColorMode\" failed: 7 is not a colour mode; use 0 (black and white), 1 "
                               "(colour) or 2 (grey scale).") },
            { "value cut short", QStringLiteral("SetColorMode"), { 100000 }, {},
                QStringLiteral("Overflow in argument 1 of \"SetColorMode\": 100000 does not fit a short.") },
            { "unknown member", QStringLiteral("Frobnicate"), {}, {},
                QStringLiteral("The object does not support the member \"Frobnicate\".") },
            { "too few arguments", QStringLiteral("SaveTo"), {}, {},
                QStringLiteral("Wrong number of arguments for \"SaveTo\": it takes 1, 0 given.") },
            { "no such page", QStringLiteral("SavePageTo"), { 9, noPage }, {},
                QStringLiteral("\"SavePageTo\" failed: There is no page 9: the plot has 3 pages.") },
            { "no such page to draw", QStringLiteral("SaveSvgPageTo"), { 0, noPage }, {},
                QStringLiteral("\"SaveSvgPageTo\" failed: There is no page 0: the plot has 3 pages.") },
        };
        for (const auto &row : rows) {
            for (const QString &kind : { QStringLiteral("process"), QStringLiteral("plugin") }) {
                QTest::addRow("%s, %s", row.name, qPrintable(kind))
                    << (kind == u"process" ? serversFolder() : m_pluginFolder.path()) << row.member
                    << row.arguments << row.result << row.failure;
            }
        }
    }
    void membersByName()
    {
        QFETCH(QString, folder);
        QFETCH(QString, member);
        QFETCH(QVariantList, arguments);
        QFETCH(QVariant, result);
        QFETCH(QString, failure);
        const SearchOnly search(folder);
        const AutomationObject server = AutomationObject::create(ProgId);
        const AutomationObject document = server.callObject(PlotViewer::Open, { sample("pages.plt") });
        QVariant got;
        QCOMPARE(failureOf([&] { got = document.call(member, arguments); }),
            failure.isEmpty() ? QStringLiteral("<no error>") : failure);
        if (result.isValid())
            QCOMPARE(got.toInt(), result.toInt());
    }

    void picturesComeThroughTheProcess()
    {
        const SearchOnly search(serversFolder());
        const AutomationObject server = AutomationObject::create(ProgId);
        QVERIFY(server.hasMember(PlotViewer::SetPenTable));
        QVERIFY(!server.hasMember("Frobnicate"));
        const AutomationObject document = server.callObject(PlotViewer::Open, { sample("pages.plt") });
        QVERIFY(document.hasMember(PlotViewer::SavePageTo));
        const QString picture = m_scratch.filePath(QStringLiteral("page.jpg"));
        document.call(PlotViewer::SavePageTo, { 2, picture });
        QImageReader reader(picture);
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        QVERIFY(reader.size().height() > reader.size().width()); // the job's second plot stands tall
        QCOMPARE(document.call("Warnings").metaType(), QMetaType::fromType<QStringList>());
        // The page as SVG, for a preview to draw at any scale; SaveTo writes one for an .svg name.
        for (const auto &[member, arguments] : { std::pair { PlotViewer::SaveSvgPageTo, QVariantList { 2 } },
                 std::pair { PlotViewer::SaveTo, QVariantList {} } }) {
            const QString svg = m_scratch.filePath(QStringLiteral("page.svg"));
            QFile::remove(svg);
            document.call(member, QVariantList(arguments) << svg);
            QFile drawn(svg);
            QVERIFY(drawn.open(QIODevice::ReadOnly));
            QVERIFY2(drawn.readAll().contains("inkscape:groupmode=\"layer\""), member);
        }
        QVERIFY(failureOf([&] {
            server.call(PlotViewer::Open, { m_scratch.filePath(QStringLiteral("none.plt")) });
        }).startsWith(u"\"Open\" failed: "));
    }

    void documentIsReleasedOnBothSides()
    {
        const std::shared_ptr<ServerProcess> process
            = ServerProcess::start(ProgId, serversFolder() + QStringLiteral("/plotviewer-server"));
        QDBusMessage open = QDBusMessage::createMethodCall(QString(),
            QString::fromLatin1(PlotServerBus::ServerPath), QString(), QString::fromLatin1(PlotViewer::Open));
        open.setArguments({ sample("pages.plt") });
        const QString path
            = process->connection().call(open).arguments().value(0).value<QDBusObjectPath>().path();
        QVERIFY2(path.startsWith(QString::fromLatin1(PlotServerBus::ServerPath) + u'/'), qPrintable(path));
        AutomationObject document(std::make_shared<RemoteTarget>(process, path, true));
        QCOMPARE(document.call(PlotViewer::PageCount).toInt(), 3);
        open.setArguments({ sample("colours.plt") });
        const QString other
            = process->connection().call(open).arguments().value(0).value<QDBusObjectPath>().path();
        QVERIFY(other != path);

        document.release();
        QTRY_COMPARE(pageCountAt(*process, path),
            QVariant(QStringLiteral("org.freedesktop.DBus.Error.UnknownObject")));
        QCOMPARE(pageCountAt(*process, other), QVariant(1));
    }

    void lastReferenceEndsTheProcess()
    {
        const SearchOnly search(serversFolder());
        AutomationObject server = AutomationObject::create(ProgId);
        AutomationObject document = server.callObject(PlotViewer::Open, { sample("pages.plt") });
        QCOMPARE(serverProcesses().size(), 1);
        server.release();
        QCOMPARE(serverProcesses().size(), 1); // the document still needs it
        QCOMPARE(document.call(PlotViewer::PageCount).toInt(), 3);
        document.release();
        QTRY_VERIFY(serverProcesses().isEmpty());
    }

    void crashFailsTheCallAndNothingElse()
    {
        const SearchOnly search(serversFolder());
        const AutomationObject server = AutomationObject::create(ProgId);
        const AutomationObject document = server.callObject(PlotViewer::Open, { sample("pages.plt") });
        const QList<qint64> running = serverProcesses();
        QCOMPARE(running.size(), 1);
        QTimer::singleShot(0, [pid = running.first()] { ::kill(pid_t(pid), SIGSEGV); });
        const QString failure = failureOf(
            [&] { document.call(PlotViewer::SaveTo, { m_scratch.filePath(QStringLiteral("a.jpg")) }); });
        QCOMPARE(failure, QStringLiteral("\"SaveTo\" failed: the server ended unexpectedly (signal 11)."));
        QVERIFY(!document.isAlive());
        QVERIFY(!server.isAlive());
        QVERIFY(failureOf([&] {
            server.call(PlotViewer::Open, { sample("pages.plt") });
        }).contains(u"signal 11"));
    }

    void interruptEndsAServerThatHangs()
    {
        const SearchOnly search(serversFolder());
        const AutomationObject server = AutomationObject::create(ProgId);
        const QList<qint64> running = serverProcesses();
        QCOMPARE(running.size(), 1);
        ::kill(pid_t(running.first()), SIGSTOP);
        QTimer::singleShot(0, [server] { server.interrupt(); });
        const QString failure = failureOf([&] { server.call(PlotViewer::Open, { sample("pages.plt") }); });
        QCOMPARE(failure, QStringLiteral("\"Open\" failed: the server was stopped."));
        QTRY_VERIFY(serverProcesses().isEmpty());
    }

    void callsMadeLaterAnswerOnce()
    {
        const SearchOnly search(serversFolder());
        const AutomationObject server = AutomationObject::create(ProgId);
        const AutomationObject document = server.callObject(PlotViewer::Open, { sample("pages.plt") });
        QList<AutomationResult> results;
        QObject context;
        document.callLater(
            PlotViewer::PageCount, {}, &context, [&](const AutomationResult &r) { results << r; });
        QVERIFY(results.isEmpty()); // never before the call returns
        QTRY_COMPARE(results.size(), 1);
        QCOMPARE(results.first().value.toInt(), 3);
        // A call under way when the server ends fails, once.
        ::kill(pid_t(serverProcesses().value(0)), SIGKILL);
        document.callLater(
            PlotViewer::PageCount, {}, &context, [&](const AutomationResult &r) { results << r; });
        QTRY_COMPARE(results.size(), 2);
        QVERIFY2(results.last().failed(), qPrintable(results.last().value.toString()));
        QTest::qWait(50);
        QCOMPARE(results.size(), 2);
    }

    void serverThatCannotStart_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QStringLiteral("no-such-server")
                                 << QStringLiteral("it could not be run (");
        QTest::newRow("ends at once")
            << QStringLiteral("/bin/false") << QStringLiteral("it ended (exit status 1)");
    }
    void serverThatCannotStart()
    {
        QFETCH(QString, program);
        QFETCH(QString, reason);
        QTemporaryDir folder;
        QFile description(folder.filePath(QStringLiteral("broken.json")));
        QVERIFY(description.open(QIODevice::WriteOnly));
        description.write(
            QStringLiteral(R"({ "ProgIDs": [ "%1" ], "Program": "%2" })").arg(ProgId, program).toUtf8());
        description.close();
        const SearchOnly search(folder.path());
        const QString failure = failureOf([] { AutomationObject::create(ProgId); });
        QVERIFY2(failure.startsWith(
                     QStringLiteral("The automation server \"%1\" could not be started: ").arg(ProgId))
                && failure.contains(reason),
            qPrintable(failure));
    }

private:
    QTemporaryDir m_pluginFolder;
    QTemporaryDir m_scratch;
};

QTEST_MAIN(tst_ServerProcess)
#include "tst_serverprocess.moc"
