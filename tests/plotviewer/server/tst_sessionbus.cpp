// The plot server on a session bus of its own, started by D-Bus activation and driven by gdbus from
// a shell script, as the README shows: no program of ours on the calling side.

#include "contract/PlotServerBus.h"

#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

/// A session bus that starts our server when its name is asked for, and nothing else.
QString busConfig(const QString &serviceFolder)
{
    return QStringLiteral(
        "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
        " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
        "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen><auth>EXTERNAL</auth>"
        "<servicedir>%1</servicedir><policy context=\"default\"><allow send_destination=\"*\"/>"
        "<allow receive_sender=\"*\"/><allow own=\"*\"/></policy></busconfig>\n")
        .arg(serviceFolder);
}

} // namespace

class tst_SessionBus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        for (const char *tool : { "dbus-run-session", "gdbus" }) {
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed (packages dbus, libglib2.0-bin)")
                                     .arg(QLatin1String(tool))));
        }
        const QString samples = qEnvironmentVariable("TARNWICK_SOURCE_DIR") + QStringLiteral("/samples");
        if (!QFile::exists(samples + QStringLiteral("/pages.plt")))
            QSKIP("the samples folder is not beside the tests (TARNWICK_SOURCE_DIR unset)");
        m_plot = samples + QStringLiteral("/pages.plt");
    }

    void scriptDrivesTheServer()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString bus = QString::fromLatin1(PlotServerBus::BusName);
        QFile service(dir.filePath(bus + QStringLiteral(".service")));
        QVERIFY(service.open(QIODevice::WriteOnly));
        service.write(QStringLiteral("[D-BUS Service]\nName=%1\nExec=%2 %3\n")
                          .arg(bus, QStringLiteral(TARNWICK_PLOT_SERVER_PROGRAM),
                              QLatin1String(PlotServerBus::SessionBusOption))
                          .toUtf8());
        service.close();
        QFile config(dir.filePath(QStringLiteral("session.conf")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(busConfig(dir.path()).toUtf8());
        config.close();

        const QString picture = dir.filePath(QStringLiteral("plot.jpg"));
        const QString errors = dir.filePath(QStringLiteral("errors.txt"));
        QProcess script;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("BUS_NAME"), bus);
        environment.insert(QStringLiteral("SERVER_PATH"), QString::fromLatin1(PlotServerBus::ServerPath));
        environment.insert(QStringLiteral("PLOT"), m_plot);
        environment.insert(QStringLiteral("MISSING"), dir.filePath(QStringLiteral("missing.plt")));
        environment.insert(QStringLiteral("OUT"), picture);
        environment.insert(QStringLiteral("ERRORS"), errors);
        environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        script.setProcessEnvironment(environment);
        script.setProcessChannelMode(QProcess::MergedChannels);
        script.start(QStringLiteral("dbus-run-session"),
            { QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--"),
                QStringLiteral("sh"), QStringLiteral(TARNWICK_SOURCE_TEST_DIR "/drive-server.sh") });
        QVERIFY(script.waitForFinished(60000));
        const QString output = QString::fromLocal8Bit(script.readAll());
        QVERIFY2(script.exitCode() == 0 && output.contains(u"done"), qPrintable(output));
        QVERIFY2(output.contains(u"pages (3,)"), qPrintable(output));
        QImageReader saved(picture);
        QCOMPARE(saved.format(), QByteArray("jpeg"));
        QVERIFY(saved.size().width() > 0);
        // A failing member reaches the script as an error carrying the server's description.
        QFile reported(errors);
        QVERIFY(reported.open(QIODevice::ReadOnly));
        const QString error = QString::fromLocal8Bit(reported.readAll());
        QVERIFY2(error.contains(bus + QStringLiteral(".Error.Failed")) && error.contains(u"missing.plt"),
            qPrintable(error));
    }

private:
    QString m_plot;
};

QTEST_MAIN(tst_SessionBus)
#include "tst_sessionbus.moc"
