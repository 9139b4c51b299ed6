// How CUPS types a file with a plot's name under our rules (tarnwick.types): by content first, so that
// a PDF, a PostScript file or a picture prints as what it is, and every plot reaches our filter.
// cupsfilter types each file without a scheduler, with CUPS's rules and ours in a folder of their own.

#include "OtherFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace plotviewer::test;

namespace {

const QString cupsMime = QStringLiteral("/usr/share/cups/mime");
const QString cupsFilters = QStringLiteral("/usr/lib/cups/filter");

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray otherFile(const char *name)
{
    for (const OtherFile &file : otherFiles()) {
        if (qstrcmp(file.name, name) == 0)
            return file.bytes;
    }
    qFatal("no other file called %s", name);
}

} // namespace

class tst_CupsTyping : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void fileNamedAsPlot_data();
    void fileNamedAsPlot();

private:
    QTemporaryDir m_dir;
    QString m_cupsfilter;
    QString m_configuration;
};

void tst_CupsTyping::initTestCase()
{
    m_cupsfilter = QStandardPaths::findExecutable(QStringLiteral("cupsfilter"));
    if (m_cupsfilter.isEmpty())
        m_cupsfilter
            = QStandardPaths::findExecutable(QStringLiteral("cupsfilter"), { QStringLiteral("/usr/sbin") });
    if (m_cupsfilter.isEmpty() || !QDir(cupsMime).exists())
        QSKIP("cupsfilter or CUPS's rules are missing (package cups)");
    // CUPS's rules with ours from the tree, and its filters with ours as built: cupsfilter offers only
    // conversions whose filter is there.
    const QDir root(m_dir.path());
    QVERIFY(root.mkpath(QStringLiteral("data/mime")) && root.mkpath(QStringLiteral("bin/filter")));
    for (const QString &name : QDir(cupsMime).entryList(QDir::Files)) {
        if (!name.startsWith(QLatin1String("tarnwick.")))
            QVERIFY(QFile::copy(cupsMime + u'/' + name, root.filePath(QStringLiteral("data/mime/") + name)));
    }
    const QString ours
        = qEnvironmentVariable("TARNWICK_SOURCE_DIR") + QStringLiteral("/plotviewer/cupsfilter/");
    for (const char *name : { "tarnwick.types", "tarnwick.convs" })
        QVERIFY(QFile::copy(
            ours + QLatin1String(name), root.filePath(QStringLiteral("data/mime/") + QLatin1String(name))));
    for (const QString &name : QDir(cupsFilters).entryList(QDir::Files | QDir::System)) {
        if (name != QLatin1String("plottopdf"))
            QVERIFY(
                QFile::link(cupsFilters + u'/' + name, root.filePath(QStringLiteral("bin/filter/") + name)));
    }
    QVERIFY(QFile::link(
        QStringLiteral(TARNWICK_PLOTTOPDF), root.filePath(QStringLiteral("bin/filter/plottopdf"))));
    m_configuration = root.filePath(QStringLiteral("cups-files.conf"));
    QFile configuration(m_configuration);
    QVERIFY(configuration.open(QIODevice::WriteOnly));
    configuration.write(QStringLiteral("DataDir %1\nServerBin %2\n")
                            .arg(root.filePath(QStringLiteral("data")), root.filePath(QStringLiteral("bin")))
                            .toUtf8());
}

void tst_CupsTyping::fileNamedAsPlot_data()
{
    // Where the file goes: to our filter, to CUPS's own filters, or raw to the printer.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("goesTo");
    const QString ours = QStringLiteral("plottopdf");
    const QDir samples(qEnvironmentVariable("TARNWICK_SOURCE_DIR") + QStringLiteral("/samples"));
    for (const QString &name : samples.entryList({ QStringLiteral("*.plt") }, QDir::Files)) {
        // A PJL job that enters PCL, which CUPS's own rules send to PCL printers as it is.
        const bool raw = name == QLatin1String("pcl-wrapped.plt");
        QTest::newRow(qPrintable(QStringLiteral("sample ") + name))
            << fileBytes(samples.filePath(name)) << (raw ? QStringLiteral("raw") : ours);
    }
    QTest::newRow("plot starting with a blank") << QByteArray(" SP1;PA0,0;PD100,100;") << ours;
    for (const char *printable : { "PDF document", "PostScript document", "PNG picture", "JPEG picture",
             "GIF picture", "TIFF picture", "BMP picture", "PPM picture" })
        QTest::newRow(printable) << otherFile(printable) << QStringLiteral("CUPS");
    // Only our filter is asked about these, and refuses them.
    for (const char *refused : { "ZIP archive holding a plot", "ELF executable", "Markdown text" })
        QTest::newRow(refused) << otherFile(refused) << ours;
}

void tst_CupsTyping::fileNamedAsPlot()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, goesTo);
    QFile file(m_dir.filePath(QStringLiteral("drawing.plt")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    QProcess cupsfilter;
    cupsfilter.start(m_cupsfilter,
        { QStringLiteral("-c"), m_configuration, QStringLiteral("--list-filters"), QStringLiteral("-m"),
            QStringLiteral("application/pdf"), file.fileName() });
    QVERIFY(cupsfilter.waitForFinished(60000));
    const QString filters = QString::fromLocal8Bit(cupsfilter.readAllStandardOutput());
    const QString said = QString::fromLocal8Bit(cupsfilter.readAllStandardError());
    if (said.contains(QLatin1String("from application/vnd.cups-raw"))) {
        QCOMPARE(QStringLiteral("raw"), goesTo);
        return;
    }
    QVERIFY2(cupsfilter.exitCode() == 0, qPrintable(said));
    QCOMPARE(filters.split(u'\n').contains(QLatin1String("plottopdf")) ? QStringLiteral("plottopdf")
                                                                       : QStringLiteral("CUPS"),
        goesTo);
}

QTEST_GUILESS_MAIN(tst_CupsTyping)
#include "tst_cupstyping.moc"
