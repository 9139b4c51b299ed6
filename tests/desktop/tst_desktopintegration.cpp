// The files that make plot files known to the desktop: the MIME package recognises plots by name
// and content without claiming other *.plt files, the thumbnailer entry's command makes a
// thumbnail of a plot and none of anything else, and the desktop entry passes its checks and takes
// files.

#include "OtherFiles.h"

#include <QFile>
#include <QImageReader>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kToolTimeoutMs = 60000;
const QString kPlotType = QStringLiteral("application/vnd.hp-hpgl");

QString resource(const char *name)
{
    return QStringLiteral(TARNWICK_RESOURCES "/%1").arg(QLatin1String(name));
}

/// The values of `file`'s keys, for the simple key=value files desktop entries are.
QHash<QString, QString> entryKeys(const QString &file)
{
    QHash<QString, QString> keys;
    QFile entry(file);
    if (!entry.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    for (const QByteArray &line : entry.readAll().split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0 && !line.startsWith('#'))
            keys.insert(QString::fromUtf8(line.left(equals)), QString::fromUtf8(line.mid(equals + 1)));
    }
    return keys;
}

} // namespace

class tst_DesktopIntegration : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void mimeType_data();
    void mimeType();
    void thumbnailer_data();
    void thumbnailer();
    void desktopEntry();

private:
    QTemporaryDir m_dir;
    bool m_mimeDatabase = false;
};

void tst_DesktopIntegration::initTestCase()
{
    // A MIME database of the system's types and ours alone, read by QMimeDatabase on first use.
    const QString updater = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
    const QString system = QStringLiteral("/usr/share/mime/packages/freedesktop.org.xml");
    if (updater.isEmpty() || !QFile::exists(system))
        return;
    const QString packages = m_dir.filePath(QStringLiteral("data/mime/packages"));
    QVERIFY(QDir().mkpath(packages));
    QVERIFY(QFile::copy(system, packages + QStringLiteral("/freedesktop.org.xml")));
    QVERIFY(QFile::copy(resource("tarnwick-mime.xml"), packages + QStringLiteral("/tarnwick.xml")));
    QCOMPARE(QProcess::execute(updater, { m_dir.filePath(QStringLiteral("data/mime")) }), 0);
    qputenv("XDG_DATA_DIRS", m_dir.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("nothing")).toLocal8Bit());
    m_mimeDatabase = true;
}

void tst_DesktopIntegration::mimeType_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("plot");

    QTest::newRow("*.plt starting with IN") << "a.plt" << QByteArray("IN;SP1;PD100,100;") << true;
    QTest::newRow("*.plt starting with BP") << "a.plt" << QByteArray("BPIN;PS1000,1000;") << true;
    QTest::newRow("*.plt in PCL") << "a.plt"
                                  << QByteArray("\x1b"
                                                "E\x1b%0BIN;")
                                  << true;
    QTest::newRow("gnuplot script named *.plt")
        << "a.plt" << QByteArray("set terminal png\nplot sin(x)\n") << false;
    QTest::newRow("*.hpgl of any content") << "a.hpgl" << QByteArray("PA0,0;PD10,10;") << true;
    QTest::newRow("*.hgl") << "a.hgl" << QByteArray("PU;PD;") << true;
    QTest::newRow("PCL switching to HP-GL/2, unnamed") << "job"
                                                       << QByteArray("\x1b"
                                                                     "E\x1b%0BIN;SP1;")
                                                       << true;
    QTest::newRow("PJL entering HP-GL/2, unnamed")
        << "job" << QByteArray("\x1b%-12345X@PJL\r\n@PJL ENTER LANGUAGE=HPGL2\r\nIN;") << true;
    QTest::newRow("PJL entering PCL is not ours")
        << "job"
        << QByteArray("\x1b%-12345X@PJL\r\n@PJL ENTER LANGUAGE=PCL\r\n\x1b"
                      "E")
        << false;
}

void tst_DesktopIntegration::mimeType()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, plot);
    if (!m_mimeDatabase)
        QSKIP("update-mime-database or the system's MIME package is missing (package shared-mime-info)");
    const QString path = m_dir.filePath(name);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    QCOMPARE(type.name() == kPlotType, plot);
}

void tst_DesktopIntegration::thumbnailer_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("refusal"); // empty when a thumbnail is made
    QTest::newRow("a plot") << QByteArray("IN;SP1;PA0,0;PD4000,0,4000,2000,0,2000,0,0;") << QString();
    // An archive with a plot's name, which the MIME package's name rule gives the plot type.
    QTest::newRow("an archive named as a plot")
        << plotviewer::test::zipArchive() << QStringLiteral("is a Zip archive, not a plot file.");
}

void tst_DesktopIntegration::thumbnailer()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, refusal);
    const QHash<QString, QString> keys = entryKeys(resource("tarnwick.thumbnailer"));
    QCOMPARE(keys.value(QStringLiteral("TryExec")), QStringLiteral("plotconvert"));
    QVERIFY(keys.value(QStringLiteral("MimeType")).split(u';').contains(kPlotType));
    // Run its command as a file manager would, with the program we built.
    const QString plot = m_dir.filePath(QStringLiteral("thumb.plt"));
    QFile file(plot);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();
    const QString output = m_dir.filePath(QStringLiteral("gnome-thumbnail-Ab12Cd"));
    QFile::remove(output);
    QStringList command = QProcess::splitCommand(keys.value(QStringLiteral("Exec")));
    QVERIFY(!command.isEmpty());
    QCOMPARE(command.takeFirst(), QStringLiteral("plotconvert"));
    command.replaceInStrings(QStringLiteral("%s"), QStringLiteral("128"));
    command.replaceInStrings(QStringLiteral("%i"), plot);
    command.replaceInStrings(QStringLiteral("%o"), output);
    QProcess process;
    process.start(QStringLiteral(TARNWICK_PLOTCONVERT), command);
    QVERIFY(process.waitForFinished(kToolTimeoutMs));
    const QString said = QString::fromLocal8Bit(process.readAllStandardError());
    if (!refusal.isEmpty()) {
        QCOMPARE(process.exitCode(), 65);
        QVERIFY2(said.contains(QStringLiteral("\"%1\" %2").arg(plot, refusal)), qPrintable(said));
        QVERIFY(!QFile::exists(output));
        return;
    }
    QVERIFY2(process.exitCode() == 0, qPrintable(said));
    QImageReader reader(output);
    QCOMPARE(reader.format(), QByteArray("png"));
    QCOMPARE(std::max(reader.size().width(), reader.size().height()), 128);
}

void tst_DesktopIntegration::desktopEntry()
{
    const QString entry = resource("org.example.tarnwick.desktop");
    const QHash<QString, QString> keys = entryKeys(entry);
    QCOMPARE(keys.value(QStringLiteral("Exec")), QStringLiteral("tarnwick %F"));
    QVERIFY(keys.value(QStringLiteral("MimeType")).split(u';').contains(kPlotType));
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        QSKIP("desktop-file-validate is missing (package desktop-file-utils)");
    QProcess process;
    process.start(validator, { entry });
    QVERIFY(process.waitForFinished(kToolTimeoutMs));
    const QString said
        = QString::fromLocal8Bit(process.readAllStandardOutput() + process.readAllStandardError());
    QVERIFY2(process.exitCode() == 0 && !said.contains(QLatin1String("error:")), qPrintable(said));
}

QTEST_GUILESS_MAIN(tst_DesktopIntegration)
#include "tst_desktopintegration.moc"
