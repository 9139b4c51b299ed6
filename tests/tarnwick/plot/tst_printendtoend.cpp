// Tarnwick's own print run, through the real plot server plugin, to a real CUPS queue with a
// virtual PDF printer: three plots in grey scale, then two at actual size, one of them an A1
// drawing that takes several sheets; and a run that meets a file of another kind with a plot's
// name, which stops it with its one message.
//
// Set up first, as root:  scripts/cups-pdf-printer.sh
// Without that set-up the test is skipped; with TARNWICK_REQUIRE_CUPS=1 it fails instead.

#include "CupsEndToEnd.h"
#include "CupsPdfPrinter.h"
#include "Form1Fixture.h"
#include "OtherFiles.h"
#include "PdfProbe.h"
#include "PictureInk.h"
#include "TiledSheets.h"
#include "plotviewer/document/PlotLoader.h"
#include "plotviewer/files/PagedPlotWriter.h"
#include "tarnwick/browse/DirList.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>

using namespace plotviewer::test;

namespace {

constexpr int ProbeDpi = 72;

struct PrintedPlot
{
    const char *file;
    bool actualSize;
};

// Three plots in grey scale, then two at actual size: a 4 x 2 inch frame, and an A1 drawing.
constexpr PrintedPlot Plots[] = {
    { "landscape.plt", false },
    { "portrait.plt", false },
    { "labels.plt", false },
    { "actual-size.plt", true },
    { "a1-drawing.plt", true },
};
// Larger than any office printer's paper.
constexpr const char *TiledFile = "a1-drawing.plt";

QString titleFor(const char *file)
{
    return uniqueJobTitle(QStringLiteral("e2e"), QLatin1String(file));
}

} // namespace

class tst_PrintEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void printedPage_data();
    void printedPage();
    void largeDrawingTakesSeveralSheets();
    void fileOfAnotherKindStopsTheRun();

private:
    /// Opens `folder` in the main window and adds all its files to the emptied print list.
    void listOnly(Form1Fixture &f, const QString &folder);

    CupsPdfPrinter m_printer;
    QSizeF m_paper;
};

void tst_PrintEndToEnd::listOnly(Form1Fixture &f, const QString &folder)
{
    QVERIFY(f.control<DirList>("Dir1")->setPath(folder));
    f.control<QPushButton>("cmdClear")->click();
    f.control<QPushButton>("cmdAll")->click();
    f.control<QPushButton>("cmdAddList")->click();
}

void tst_PrintEndToEnd::initTestCase()
{
    QString reason = PdfProbe::missingTools();
    if (reason.isEmpty())
        reason = m_printer.unavailableReason();
    TARNWICK_SKIP_UNLESS_PRINTING(reason);
    m_paper = QPrinterInfo::printerInfo(m_printer.queue()).defaultPageSize().size(QPageSize::Point);

    // The print job is named after the file, so each copy's name is the title to look for.
    Form1Fixture f;
    for (const PrintedPlot &plot : Plots) {
        const QString folder = plot.actualSize ? QStringLiteral("actual") : QStringLiteral("fitted");
        const QString copy = f.env.makeDirectory(folder) + u'/' + titleFor(plot.file);
        QVERIFY(
            QFile::copy(QStringLiteral(TARNWICK_SERVER_TEST_DATA "/%1").arg(QLatin1String(plot.file)), copy));
    }
    f.server.reset(); // the real plot server, found beside the test in servers/
    f.start();
    QVERIFY2(f.loaded && f.boxes.count() == 0, "the main window did not start with the real plot server");

    f.control<QRadioButton>("optGrey")->click();
    listOnly(f, f.env.makeDirectory(QStringLiteral("fitted")));
    QCOMPARE(f.control<QLineEdit>("txtCount")->text(), QStringLiteral("3"));
    f.control<QPushButton>("cmdPrint")->click();
    listOnly(f, f.env.makeDirectory(QStringLiteral("actual")));
    f.control<QCheckBox>("chkActSze")->setChecked(true);
    f.control<QPushButton>("cmdPrint")->click();
    QCOMPARE(f.boxes.count(), 0);
    QVERIFY(f.form->holdsPlotServer());

    // Every PDF there (a cheap look at a folder), then no job left running (asking the scheduler).
    const QString late = waitForJobs([this] {
        return std::all_of(std::begin(Plots), std::end(Plots), [this](const PrintedPlot &plot) {
            return !m_printer.pdfFor(titleFor(plot.file)).isEmpty();
        }) && m_printer.idle();
    });
    QVERIFY2(late.isEmpty(), qPrintable(late));
}

void tst_PrintEndToEnd::printedPage_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("actualSize");
    for (const PrintedPlot &plot : Plots) {
        if (qstrcmp(plot.file, TiledFile) != 0)
            QTest::newRow(plot.file) << titleFor(plot.file) << plot.actualSize;
    }
}

void tst_PrintEndToEnd::printedPage()
{
    QFETCH(QString, title);
    QFETCH(bool, actualSize);
    PdfProbe pdf;
    QString error;
    QVERIFY2(pdf.open(m_printer.pdfFor(title), &error), qPrintable(error));
    const QImage sheet = singleInkedSheet(pdf, ProbeDpi, &error);
    QVERIFY2(!sheet.isNull(), qPrintable(error));
    // The queue's paper, whichever way the printing system turned it.
    const QSizeF page = pdf.pageSize(0);
    QVERIFY2(std::abs(std::min(page.width(), page.height()) - std::min(m_paper.width(), m_paper.height())) < 2
            && std::abs(std::max(page.width(), page.height()) - std::max(m_paper.width(), m_paper.height()))
                < 2,
        qPrintable(QStringLiteral("page %1 x %2 pt").arg(page.width()).arg(page.height())));

    QCOMPARE(colouredPixelCount(sheet), 0); // grey scale
    const QRect ink = inkBounds(sheet);
    // Turned to the plot's shape: its long side runs along the paper's.
    QCOMPARE(ink.height() > ink.width(), page.height() > page.width());
    const int inkLong = std::max(ink.width(), ink.height());
    const int inkShort = std::min(ink.width(), ink.height());
    if (actualSize) {
        QVERIFY2(std::abs(inkLong - 4 * ProbeDpi) <= 4 && std::abs(inkShort - 2 * ProbeDpi) <= 4,
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

void tst_PrintEndToEnd::largeDrawingTakesSeveralSheets()
{
    PdfProbe pdf;
    QString error;
    QVERIFY2(pdf.open(m_printer.pdfFor(titleFor(TiledFile)), &error), qPrintable(error));
    // The sheets the plot server plans for the queue's paper and margins, as it printed them.
    plotviewer::PlotLoader::Result loaded = plotviewer::PlotLoader::load(
        QStringLiteral(TARNWICK_SERVER_TEST_DATA "/%1").arg(QLatin1String(TiledFile)));
    QVERIFY2(loaded.document, qPrintable(loaded.error));
    const plotviewer::Page &page = loaded.document->plot().pages.front();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(m_printer.queue());
    const plotviewer::SheetPlan plan = plotviewer::PagedPlotWriter({}).planFor(printer, page);
    // Worked by hand for the PDF printer's papers, which print to their edges: a tile keeps 4 mm
    // from the edge and 6 mm more for its marks, and overlaps the next by 10 mm. On A4 upright a
    // tile is 190 x 277 mm and steps 180 x 267, so the 841 x 594 mm drawing takes 5 columns (831 / 180)
    // by 3 rows (584 / 267); turned, 4 by 4. On Letter upright, 196 x 259 mm stepping 186 x 249:
    // again 5 by 3, and 4 by 4 turned. Upright wins with 15 sheets.
    const QSizeF paper = m_paper / 72 * 25.4;
    const bool a4OrLetter = (std::abs(paper.width() - 210) < 1 && std::abs(paper.height() - 297) < 1)
        || (std::abs(paper.width() - 215.9) < 1 && std::abs(paper.height() - 279.4) < 1);
    if (!a4OrLetter)
        QSKIP("the PDF printer's paper is neither A4 nor Letter, for which the sheets were counted by hand");
    QCOMPARE(pdf.pageCount(), 15);
    QCOMPARE(plan.sheetCount(), 15);
    const QString joined = compareJoinedSheets(pdf, 0, plan, page);
    QVERIFY2(joined.isEmpty(), qPrintable(joined));
}

void tst_PrintEndToEnd::fileOfAnotherKindStopsTheRun()
{
    // A plot, an archive named as one (which holds a plot, and was drawn as one once), a plot.
    Form1Fixture f;
    const QString folder = f.env.makeDirectory(QStringLiteral("mixed"));
    const QString first = titleFor("mixed-1.plt");
    const QString last = titleFor("mixed-3.plt");
    QVERIFY(QFile::copy(QStringLiteral(TARNWICK_SERVER_TEST_DATA "/landscape.plt"), folder + u'/' + first));
    f.env.makeFile(QStringLiteral("mixed/") + titleFor("mixed-2.plt"), zipArchive());
    QVERIFY(QFile::copy(QStringLiteral(TARNWICK_SERVER_TEST_DATA "/portrait.plt"), folder + u'/' + last));
    f.server.reset();
    f.start();
    listOnly(f, folder);
    f.control<QPushButton>("cmdPrint")->click();
    QCOMPARE(f.boxes.count(), 1);
    QCOMPARE(f.boxes.seen().first().title, QStringLiteral("Print Server Failed"));
    QVERIFY(!f.form->holdsPlotServer());

    const QString late
        = waitForJobs([this, &first] { return !m_printer.pdfFor(first).isEmpty() && m_printer.idle(); });
    QVERIFY2(late.isEmpty(), qPrintable(late));
    QVERIFY2(m_printer.pdfFor(last).isEmpty(), "the run went on after the file it could not open");
}

QTEST_MAIN(tst_PrintEndToEnd)
#include "tst_printendtoend.moc"
