// Printing through a print server, as an office does: a second CUPS scheduler stands in for a
// user's machine, its raw queue sending plot files unchanged over IPP to the system's scheduler,
// which runs the installed filter and prints to its PDF printer. A plain plot must arrive as one inked sheet, an A1 drawing at actual size whole over
// the sheets the filter plans.
//
// Set up first, as root:  scripts/cups-pdf-printer.sh && scripts/install-cups-filter.sh
// The test starts and stops the second scheduler itself; it needs root for that. Without the set-up
// it is skipped; with TARNWICK_REQUIRE_CUPS=1 it fails instead.

#include "ClientScheduler.h"
#include "CupsEndToEnd.h"
#include "CupsPdfPrinter.h"
#include "PdfProbe.h"
#include "PictureInk.h"

#include <QTemporaryDir>
#include <QTest>

using namespace plotviewer::test;

namespace {

constexpr int probeDpi = 72;

struct ServerJob
{
    const char *name;
    const char *file; // below the source tree
    const char *option;
};

constexpr ServerJob plain { "plain", "samples/colours.plt", "" };
constexpr ServerJob actualSize { "actual-size-a1", "tests/plotviewer/support/data/a1-drawing.plt",
    "print-scaling=none" };

QString titleFor(const ServerJob &job)
{
    return uniqueJobTitle(QStringLiteral("server"), QLatin1String(job.name));
}

QString sourceFile(const ServerJob &job)
{
    return qEnvironmentVariable("TARNWICK_SOURCE_DIR") + u'/' + QLatin1String(job.file);
}

} // namespace

class tst_PrintServerEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void plainPlotPrintsOnTheServer();
    void actualSizeSheetsPrintOnTheServer();
    void cleanupTestCase();

private:
    /// Sends `job` through the client's queue; false with a warning when lp refuses it.
    bool submit(const ServerJob &job);

    CupsPdfPrinter m_printer;
    ClientScheduler m_client;
    QTemporaryDir m_dir;
};

bool tst_PrintServerEndToEnd::submit(const ServerJob &job)
{
    const QString copy = copyForJob(sourceFile(job), m_dir.path(), titleFor(job));
    const QStringList options = job.option[0] ? QStringList { QLatin1String(job.option) } : QStringList();
    return !copy.isEmpty()
        && !submitWithLp(copy, m_client.queue(), titleFor(job), options, m_client.server()).isEmpty();
}

void tst_PrintServerEndToEnd::initTestCase()
{
    TARNWICK_SKIP_UNLESS_PRINTING(lpPrintingProblem(m_printer, QStringLiteral(TARNWICK_PLOTTOPDF)));
    TARNWICK_SKIP_UNLESS_PRINTING(m_client.start(m_printer.queue()));
    QVERIFY(submit(plain));
    QVERIFY(submit(actualSize));
    // Sent on by the client, then printed by the server.
    const QString late = waitForJobs([this] {
        return m_client.pendingJobs() == QStringList() && !m_printer.pdfFor(titleFor(plain)).isEmpty()
            && !m_printer.pdfFor(titleFor(actualSize)).isEmpty() && m_printer.idle();
    });
    QVERIFY2(late.isEmpty(),
        qPrintable(late + QStringLiteral("\nthe client scheduler's log:\n") + m_client.logTail()));
}

void tst_PrintServerEndToEnd::plainPlotPrintsOnTheServer()
{
    QString error;
    const QImage sheet = singleInkedSheet(m_printer.pdfFor(titleFor(plain)), probeDpi, &error);
    QVERIFY2(!sheet.isNull(), qPrintable(error));
    QVERIFY2(colouredPixelCount(sheet) > 0, "the plot's pen colours were lost on the way");
}

void tst_PrintServerEndToEnd::actualSizeSheetsPrintOnTheServer()
{
    PdfProbe pdf;
    QString error;
    QVERIFY2(pdf.open(m_printer.pdfFor(titleFor(actualSize)), &error), qPrintable(error));
    QVERIFY2(pdf.pageCount() > 4, "an A1 drawing fits no office paper in four sheets");
    const QString joined = compareWithFilterSheets(pdf, sourceFile(actualSize));
    QVERIFY2(joined.isEmpty(), qPrintable(joined));
}

void tst_PrintServerEndToEnd::cleanupTestCase()
{
    m_client.stop();
}

QTEST_GUILESS_MAIN(tst_PrintServerEndToEnd)
#include "tst_printserverendtoend.moc"
