// Plot files printed with lp through the installed plot filter, to a real CUPS queue with a
// virtual PDF printer: CUPS must recognise each file, run our filter and print one inked page;
// a file that is no plot must end as a failed job with our message in CUPS's log.
//
// Set up first, as root:  scripts/cups-pdf-printer.sh && scripts/install-cups-filter.sh
// Without that set-up the test is skipped; with TARNWICK_REQUIRE_CUPS=1 it fails instead.

#include "CupsPdfPrinter.h"
#include "PdfProbe.h"
#include "PictureInk.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace plotviewer::test;

namespace {

constexpr int probeDpi = 72;
constexpr int jobTimeoutMs = 120000;
constexpr int toolTimeoutMs = 20000;
const QString installedFilter = QStringLiteral("/usr/lib/cups/filter/plottopdf");
const QString installedRules = QStringLiteral("/usr/share/cups/mime/tarnwick.types");
const QString errorLog = QStringLiteral("/var/log/cups/error_log");

enum class Colour { Any, Coloured, Grey };

struct PrintedPlot
{
    const char *name; // row name and job title
    const char *file; // below the source tree
    const char *options;
    Colour colour;
};

constexpr PrintedPlot plots[] = {
    { "pcl-wrapped", "tests/plotviewer/cupsfilter/data/pcl-hpgl2.pcl", "", Colour::Coloured },
    { "encoded-8-bit", "samples/encoded.plt", "", Colour::Any },
    { "plain", "samples/drawing.plt", "", Colour::Any },
    { "grey", "samples/colours.plt", "print-color-mode=monochrome", Colour::Grey },
};

// Unique per run, so that PDFs and log lines from earlier runs are never mistaken for this run's.
QString titleFor(const char *name)
{
    return QStringLiteral("tarnwick-filter-%1-%2")
        .arg(QCoreApplication::applicationPid())
        .arg(QLatin1String(name));
}

QString sourceFile(const char *path)
{
    return qEnvironmentVariable("TARNWICK_SOURCE_DIR") + u'/' + QLatin1String(path);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

Q_DECLARE_METATYPE(Colour)

class tst_PlotFilterEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void printedPage_data();
    void printedPage();
    void garbageEndsAsFailedJob();
    void cleanupTestCase();

private:
    /// What lpstat says of the garbage job: its line, status and alerts.
    QString jobStatus() const;
    bool garbageJobEnded() const;
    /// Why lp cannot reach our filter here, or an empty string.
    QString unavailableReason();
    /// Submits `file` with lp; the job's id ("queue-number"), or empty with a failure recorded.
    QString submit(const QString &file, const QString &title, const QString &options);

    CupsPdfPrinter m_printer;
    QTemporaryDir m_dir;
    QString m_garbageJob;
};

QString tst_PlotFilterEndToEnd::unavailableReason()
{
    QString reason = PdfProbe::missingTools();
    if (reason.isEmpty())
        reason = m_printer.unavailableReason();
    if (!reason.isEmpty())
        return reason;
    const QString setUp = QStringLiteral("; run scripts/install-cups-filter.sh as root");
    if (!QFile::exists(installedRules))
        return QStringLiteral("CUPS has no rules for plot files (%1)").arg(installedRules) + setUp;
    if (fileBytes(installedFilter) != fileBytes(QStringLiteral(TARNWICK_PLOTTOPDF)))
        return QStringLiteral("%1 is missing or not the filter just built").arg(installedFilter) + setUp;
    return {};
}

QString tst_PlotFilterEndToEnd::submit(const QString &file, const QString &title, const QString &options)
{
    QStringList arguments { QStringLiteral("-d"), m_printer.queue(), QStringLiteral("-t"), title };
    if (!options.isEmpty())
        arguments << QStringLiteral("-o") << options;
    QProcess lp;
    lp.start(QStringLiteral("lp"), arguments << file);
    if (!lp.waitForFinished(toolTimeoutMs) || lp.exitCode() != 0) {
        qWarning("lp %s: %s", qPrintable(file), lp.readAllStandardError().constData());
        return {};
    }
    static const QRegularExpression id(QStringLiteral("request id is (\\S+)"));
    return id.match(QString::fromLocal8Bit(lp.readAllStandardOutput())).captured(1);
}

void tst_PlotFilterEndToEnd::initTestCase()
{
    if (const QString reason = unavailableReason(); !reason.isEmpty()) {
        if (qEnvironmentVariableIntValue("TARNWICK_REQUIRE_CUPS") == 1)
            QFAIL(qPrintable(reason));
        QSKIP(qPrintable(reason));
    }
    for (const PrintedPlot &plot : plots) {
        // The copy carries the title as its name, so that CUPS types it by content and name alike.
        const QString copy
            = m_dir.filePath(titleFor(plot.name) + u'.' + QFileInfo(QLatin1String(plot.file)).suffix());
        QVERIFY(QFile::copy(sourceFile(plot.file), copy));
        QVERIFY(!submit(copy, titleFor(plot.name), QLatin1String(plot.options)).isEmpty());
    }
    const QString garbage = m_dir.filePath(titleFor("garbage") + QStringLiteral(".plt"));
    QFile file(garbage);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(4096, '\x7f')) == 4096);
    file.close();
    m_garbageJob = submit(garbage, titleFor("garbage"), {});
    QVERIFY(!m_garbageJob.isEmpty());

    // CUPS stops a job whose filter failed and keeps it until it is cancelled (at the end).
    const auto allPrinted = [this] {
        return std::all_of(std::begin(plots), std::end(plots),
            [this](const PrintedPlot &plot) { return !m_printer.pdfFor(titleFor(plot.name)).isEmpty(); });
    };
    QTRY_VERIFY_WITH_TIMEOUT(allPrinted() && garbageJobEnded(), jobTimeoutMs);
}

void tst_PlotFilterEndToEnd::printedPage_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<Colour>("colour");
    for (const PrintedPlot &plot : plots)
        QTest::newRow(plot.name) << titleFor(plot.name) << plot.colour;
}

void tst_PlotFilterEndToEnd::printedPage()
{
    QFETCH(QString, title);
    QFETCH(Colour, colour);
    PdfProbe pdf;
    QString error;
    QVERIFY2(pdf.open(m_printer.pdfFor(title), &error), qPrintable(error));
    QCOMPARE(pdf.pageCount(), 1);
    const QImage sheet = pdf.renderPage(0, probeDpi, &error);
    QVERIFY2(!sheet.isNull(), qPrintable(error));
    QVERIFY2(inkedPixelCount(sheet) > 300, "nothing was drawn");
    if (colour == Colour::Grey)
        QCOMPARE(colouredPixelCount(sheet), 0);
    if (colour == Colour::Coloured)
        QVERIFY2(colouredPixelCount(sheet) > 0, "the plot's pen colours were lost");
}

QString tst_PlotFilterEndToEnd::jobStatus() const
{
    QProcess lpstat;
    lpstat.start(QStringLiteral("lpstat"), { QStringLiteral("-l"), QStringLiteral("-o"), m_printer.queue() });
    if (!lpstat.waitForFinished(toolTimeoutMs))
        return {};
    // The job's line, then its indented details.
    const QString listing = QString::fromLocal8Bit(lpstat.readAllStandardOutput());
    const qsizetype start = listing.indexOf(m_garbageJob + u' ');
    if (start < 0)
        return {};
    static const QRegularExpression nextJob(QStringLiteral("\n\\S"));
    const qsizetype end = listing.indexOf(nextJob, start);
    return listing.mid(start, end < 0 ? -1 : end - start);
}

bool tst_PlotFilterEndToEnd::garbageJobEnded() const
{
    return jobStatus().contains(QLatin1String("job-completed-with-errors"));
}

void tst_PlotFilterEndToEnd::cleanupTestCase()
{
    if (!m_garbageJob.isEmpty())
        QProcess::execute(QStringLiteral("cancel"), { m_garbageJob });
}

void tst_PlotFilterEndToEnd::garbageEndsAsFailedJob()
{
    // The job's status line is the queue's latest message, which another job may have replaced
    // since; the error log keeps ours against the job's number.
    QVERIFY2(garbageJobEnded(), qPrintable(jobStatus()));
    QVERIFY(m_printer.pdfFor(titleFor("garbage")).isEmpty());
    // CUPS logs a filter's ERROR: lines against the job: "E [date] [Job 12] message".
    const QString number = m_garbageJob.section(u'-', -1);
    const QString log = QString::fromLocal8Bit(fileBytes(errorLog));
    const QRegularExpression ours(
        QStringLiteral("\\[Job %1\\] The plot file .{1,2}%2.{1,2} holds nothing to draw")
            .arg(number, titleFor("garbage")));
    QVERIFY2(ours.match(log).hasMatch(),
        qPrintable(QStringLiteral("no message of ours for job %1 in %2").arg(number, errorLog)));
}

QTEST_GUILESS_MAIN(tst_PlotFilterEndToEnd)
#include "tst_plotfilterendtoend.moc"
