// Printing through the plugin to a real CUPS queue with a virtual PDF printer, end to end.
//
// Set up first, as root:  scripts/cups-pdf-printer.sh
// Without that set-up the test is skipped; with TARNWICK_REQUIRE_CUPS=1 it fails instead.

#include "CupsPdfPrinter.h"
#include "PdfProbe.h"
#include "PictureInk.h"
#include "PlotServerPlugin.h"
#include "plot/PlotViewerInterface.h"

#include <QCoreApplication>
#include <QFile>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace plotviewer::test;

namespace {

constexpr int kProbeDpi = 72;
constexpr int kJobTimeoutMs = 120000;

struct PrintedPlot
{
    const char *file;
    bool actualSize;
};

// Three plots in grey scale, then one at actual size: a 4 x 2 inch frame.
constexpr PrintedPlot kPlots[] = {
    { "landscape.plt", false },
    { "portrait.plt", false },
    { "labels.plt", false },
    { "actual-size.plt", true },
};

} // namespace

class tst_CupsPrinting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void printedPage_data();
    void printedPage();

private:
    QString titleFor(const char *file) const;

    CupsPdfPrinter m_printer;
    QTemporaryDir m_copies;
    QSizeF m_paper;
};

QString tst_CupsPrinting::titleFor(const char *file) const
{
    // Unique per run, so that PDFs from earlier runs are never mistaken for this run's.
    return QStringLiteral("tarnwick-e2e-%1-%2")
        .arg(QCoreApplication::applicationPid())
        .arg(QLatin1String(file));
}

void tst_CupsPrinting::initTestCase()
{
    QString reason = PdfProbe::missingTools();
    if (reason.isEmpty())
        reason = m_printer.unavailableReason();
    if (!reason.isEmpty()) {
        if (qEnvironmentVariableIntValue("TARNWICK_REQUIRE_CUPS") == 1)
            QFAIL(qPrintable(reason));
        QSKIP(qPrintable(reason));
    }
    m_paper = QPrinterInfo::printerInfo(m_printer.queue()).defaultPageSize().size(QPageSize::Point);

    QString error;
    const std::unique_ptr<QObject> server = createPlotServer(&error);
    QVERIFY2(server, qPrintable(error));
    for (const PrintedPlot &plot : kPlots) {
        // The job is named after the file, so each copy's name is the title to look for.
        const QString copy = m_copies.filePath(titleFor(plot.file));
        QVERIFY(
            QFile::copy(QStringLiteral(TARNWICK_SERVER_TEST_DATA "/%1").arg(QLatin1String(plot.file)), copy));
        const std::unique_ptr<QObject> document
            = callForObject(*server, PlotViewer::Open, Q_ARG(QString, copy), &error);
        QVERIFY2(document, qPrintable(error));
        QCOMPARE(
            callMember(*document, PlotViewer::SetColorMode, Q_ARG(short, PlotViewer::GreyScale)), QString());
        if (plot.actualSize)
            QCOMPARE(callMember(*document, PlotViewer::ActualSize), QString());
        QCOMPARE(callMember(*document, PlotViewer::DoPrint), QString());
    }
    // Every PDF there (a cheap look at a folder), then no job left running (asking the scheduler).
    const auto allPrinted = [this] {
        return std::all_of(std::begin(kPlots), std::end(kPlots), [this](const PrintedPlot &plot) {
            return !m_printer.pdfFor(titleFor(plot.file)).isEmpty();
        }) && m_printer.idle();
    };
    QTRY_VERIFY_WITH_TIMEOUT(allPrinted(), kJobTimeoutMs);
}

void tst_CupsPrinting::printedPage_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("actualSize");
    for (const PrintedPlot &plot : kPlots)
        QTest::newRow(plot.file) << titleFor(plot.file) << plot.actualSize;
}

void tst_CupsPrinting::printedPage()
{
    QFETCH(QString, title);
    QFETCH(bool, actualSize);
    const QString path = m_printer.pdfFor(title);
    PdfProbe pdf;
    QString error;
    QVERIFY2(pdf.open(path, &error), qPrintable(error));
    QCOMPARE(pdf.pageCount(), 1);
    // The queue's paper, whichever way the printing system turned it.
    const QSizeF page = pdf.pageSize(0);
    QVERIFY2(std::abs(std::min(page.width(), page.height()) - std::min(m_paper.width(), m_paper.height())) < 2
            && std::abs(std::max(page.width(), page.height()) - std::max(m_paper.width(), m_paper.height()))
                < 2,
        qPrintable(QStringLiteral("page %1 x %2 pt").arg(page.width()).arg(page.height())));

    const QImage sheet = pdf.renderPage(0, kProbeDpi, &error);
    QVERIFY2(!sheet.isNull(), qPrintable(error));
    QVERIFY2(inkedPixelCount(sheet) > 300, "nothing was drawn");
    QCOMPARE(colouredPixelCount(sheet), 0);
    const QRect ink = inkBounds(sheet);
    // Turned to the plot's shape: its long side runs along the paper's.
    QCOMPARE(ink.height() > ink.width(), page.height() > page.width());
    const int inkLong = std::max(ink.width(), ink.height());
    const int inkShort = std::min(ink.width(), ink.height());
    if (actualSize) {
        QVERIFY2(std::abs(inkLong - 4 * kProbeDpi) <= 4 && std::abs(inkShort - 2 * kProbeDpi) <= 4,
            qPrintable(
                QStringLiteral("ink %1 x %2 points, not 4 x 2 inches").arg(ink.width()).arg(ink.height())));
    } else {
        const double pageLong = std::max(page.width(), page.height());
        const double pageShort = std::min(page.width(), page.height());
        QVERIFY2(inkLong > 0.75 * pageLong || inkShort > 0.75 * pageShort,
            qPrintable(QStringLiteral("ink %1 x %2 points does not fill the page")
                           .arg(ink.width())
                           .arg(ink.height())));
    }
}

QTEST_MAIN(tst_CupsPrinting)
#include "tst_cupsprinting.moc"
