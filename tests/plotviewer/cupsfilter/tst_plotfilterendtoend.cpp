// Plot files printed with lp through the installed plot filter, to a real CUPS queue with a
// virtual PDF printer: CUPS must recognise each file, run our filter and print one inked page, or
// at actual size an A1 drawing over labelled sheets; a PDF with a plot's name must print as the PDF
// it is; a file of another kind that CUPS cannot print must end as a failed job with our message,
// naming its kind, in CUPS's log.
//
// Set up first, as root:  scripts/cups-pdf-printer.sh && scripts/install-cups-filter.sh
// Without that set-up the test is skipped; with TARNWICK_REQUIRE_CUPS=1 it fails instead.

#include "CupsEndToEnd.h"
#include "CupsPdfPrinter.h"
#include "OtherFiles.h"
#include "PdfProbe.h"
#include "PictureInk.h"
#include "TiledSheets.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace plotviewer::test;

namespace {

constexpr int probeDpi = 72;
constexpr int toolTimeoutMs = 20000;
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

// At actual size, larger than the queue's paper.
constexpr PrintedPlot tiled { "actual-size-a1", "tests/plotviewer/support/data/a1-drawing.plt",
    "print-scaling=none", Colour::Any };

QString titleFor(const char *name)
{
    return uniqueJobTitle(QStringLiteral("filter"), QLatin1String(name));
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

// Files made here, each named as a plot: a PDF, which CUPS prints as a PDF, and an archive that holds
// a plot, which the filter refuses.
const char *const pdfNamedAsPlot = "pdf";
const char *const archiveNamedAsPlot = "archive";

} // namespace

Q_DECLARE_METATYPE(Colour)

class tst_PlotFilterEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void printedPage_data();
    void printedPage();
    void largeDrawingTakesSeveralSheets();
    void otherKindEndsAsFailedJob();
    void cleanupTestCase();

private:
    /// What lpstat says of the refused job: its line, status and alerts.
    QString jobStatus() const;
    bool refusedJobEnded() const;
    /// Copies `plot` as its title says and sends it with lp; the job's id, or empty.
    QString submit(const PrintedPlot &plot);
    /// Writes `bytes` as a plot named after `name`'s title and sends it with lp; the job's id, or empty.
    QString submitMade(const char *name, const QByteArray &bytes);

    CupsPdfPrinter m_printer;
    QTemporaryDir m_dir;
    QString m_refusedJob;
    QString m_tiledJob;
};

QString tst_PlotFilterEndToEnd::submit(const PrintedPlot &plot)
{
    const QString title = titleFor(plot.name);
    const QString copy = copyForJob(sourceFile(plot.file), m_dir.path(), title);
    const QStringList options = plot.options[0] ? QStringList { QLatin1String(plot.options) } : QStringList();
    return copy.isEmpty() ? QString() : submitWithLp(copy, m_printer.queue(), title, options);
}

QString tst_PlotFilterEndToEnd::submitMade(const char *name, const QByteArray &bytes)
{
    QFile file(m_dir.filePath(titleFor(name) + QStringLiteral(".plt")));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    file.close();
    return submitWithLp(file.fileName(), m_printer.queue(), titleFor(name));
}

void tst_PlotFilterEndToEnd::initTestCase()
{
    TARNWICK_SKIP_UNLESS_PRINTING(lpPrintingProblem(m_printer, QStringLiteral(TARNWICK_PLOTTOPDF)));
    for (const PrintedPlot &plot : plots)
        QVERIFY(!submit(plot).isEmpty());
    m_tiledJob = submit(tiled);
    QVERIFY(!m_tiledJob.isEmpty());
    QVERIFY(!submitMade(pdfNamedAsPlot, pdfDocument()).isEmpty());
    m_refusedJob = submitMade(archiveNamedAsPlot, zipArchive());
    QVERIFY(!m_refusedJob.isEmpty());

    // CUPS stops a job whose filter failed and keeps it until it is cancelled (at the end).
    const QString late = waitForJobs([this] {
        return std::all_of(std::begin(plots), std::end(plots),
                   [this](
                       const PrintedPlot &plot) { return !m_printer.pdfFor(titleFor(plot.name)).isEmpty(); })
            && !m_printer.pdfFor(titleFor(tiled.name)).isEmpty()
            && !m_printer.pdfFor(titleFor(pdfNamedAsPlot)).isEmpty() && refusedJobEnded()
            && m_printer.pendingJobs() == QStringList { m_refusedJob };
    });
    QVERIFY2(late.isEmpty(), qPrintable(late));
}

void tst_PlotFilterEndToEnd::printedPage_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<Colour>("colour");
    for (const PrintedPlot &plot : plots)
        QTest::newRow(plot.name) << titleFor(plot.name) << plot.colour;
    QTest::newRow("PDF named as a plot") << titleFor(pdfNamedAsPlot) << Colour::Any;
}

void tst_PlotFilterEndToEnd::printedPage()
{
    QFETCH(QString, title);
    QFETCH(Colour, colour);
    QString error;
    const QImage sheet = singleInkedSheet(m_printer.pdfFor(title), probeDpi, &error);
    QVERIFY2(!sheet.isNull(), qPrintable(error));
    if (colour == Colour::Grey)
        QCOMPARE(colouredPixelCount(sheet), 0);
    if (colour == Colour::Coloured)
        QVERIFY2(colouredPixelCount(sheet) > 0, "the plot's pen colours were lost");
}

void tst_PlotFilterEndToEnd::largeDrawingTakesSeveralSheets()
{
    PdfProbe pdf;
    QString error;
    QVERIFY2(pdf.open(m_printer.pdfFor(titleFor(tiled.name)), &error), qPrintable(error));
    const QString joined = compareWithFilterSheets(pdf, sourceFile(tiled.file));
    QVERIFY2(joined.isEmpty(), qPrintable(joined));
    // Said once, against the job: "W [date] [Job 12] printed at actual size on 15 A4 sheets".
    const QRegularExpression said(QStringLiteral("\\[Job %1\\] printed at actual size on %2 \\S+ sheets")
                                      .arg(m_tiledJob.section(u'-', -1))
                                      .arg(pdf.pageCount()));
    QVERIFY2(said.match(QString::fromLocal8Bit(fileBytes(errorLog))).hasMatch(),
        qPrintable(QStringLiteral("no warning of ours for job %1 in %2").arg(m_tiledJob, errorLog)));
}

QString tst_PlotFilterEndToEnd::jobStatus() const
{
    QProcess lpstat;
    lpstat.start(QStringLiteral("lpstat"), { QStringLiteral("-l"), QStringLiteral("-o"), m_printer.queue() });
    if (!lpstat.waitForFinished(toolTimeoutMs))
        return {};
    // The job's line, then its indented details.
    const QString listing = QString::fromLocal8Bit(lpstat.readAllStandardOutput());
    const qsizetype start = listing.indexOf(m_refusedJob + u' ');
    if (start < 0)
        return {};
    static const QRegularExpression nextJob(QStringLiteral("\n\\S"));
    const qsizetype end = listing.indexOf(nextJob, start);
    return listing.mid(start, end < 0 ? -1 : end - start);
}

bool tst_PlotFilterEndToEnd::refusedJobEnded() const
{
    return jobStatus().contains(QLatin1String("job-completed-with-errors"));
}

void tst_PlotFilterEndToEnd::cleanupTestCase()
{
    if (!m_refusedJob.isEmpty())
        QProcess::execute(QStringLiteral("cancel"), { m_refusedJob });
}

void tst_PlotFilterEndToEnd::otherKindEndsAsFailedJob()
{
    // The job's status line is the queue's latest message, which another job may have replaced
    // since; the error log keeps ours against the job's number.
    QVERIFY2(refusedJobEnded(), qPrintable(jobStatus()));
    QVERIFY(m_printer.pdfFor(titleFor(archiveNamedAsPlot)).isEmpty());
    // CUPS logs a filter's ERROR: lines against the job: "E [date] [Job 12] message".
    const QString number = m_refusedJob.section(u'-', -1);
    const QString log = QString::fromLocal8Bit(fileBytes(errorLog));
    const QRegularExpression ours(
        QStringLiteral("\\[Job %1\\] .{1,2}%2.{1,2} is a Zip archive, not a plot file")
            .arg(number, titleFor(archiveNamedAsPlot)));
    QVERIFY2(ours.match(log).hasMatch(),
        qPrintable(QStringLiteral("no message of ours for job %1 in %2").arg(number, errorLog)));
}

QTEST_GUILESS_MAIN(tst_PlotFilterEndToEnd)
#include "tst_plotfilterendtoend.moc"
