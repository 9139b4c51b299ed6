// Printing at actual size on paper smaller than the drawing, to a PDF printer target without
// CUPS: the sheets, their marks and labels, and that together they hold the whole drawing.

#include "FixedPrinterLookup.h"
#include "PdfProbe.h"
#include "PictureInk.h"
#include "SamplePage.h"
#include "ScriptedPrintDialog.h"
#include "TiledSheets.h"
#include "plotviewer/document/PlotLoader.h"
#include "plotviewer/document/PrintJob.h"
#include "plotviewer/document/PrinterSelection.h"
#include "plotviewer/files/PagedPlotWriter.h"

#include <QTemporaryDir>
#include <QTest>

using namespace plotviewer;
using namespace plotviewer::test;

namespace {

constexpr int probeDpi = 72;
constexpr double pixelsPerMillimetre = probeDpi / 25.4;
const QString a1Drawing = QStringLiteral(TARNWICK_SERVER_TEST_DATA "/a1-drawing.plt");

QRect pixels(const QRectF &millimetres)
{
    return QRectF(millimetres.topLeft() * pixelsPerMillimetre, millimetres.size() * pixelsPerMillimetre)
        .toAlignedRect();
}

int inkIn(const QImage &sheet, const QRectF &millimetres)
{
    return inkedPixelCount(sheet.copy(pixels(millimetres)));
}

PlotDocument loadDocument(const QString &path)
{
    PlotLoader::Result loaded = PlotLoader::load(path);
    if (!loaded.document)
        qFatal("cannot load %s: %s", qPrintable(path), qPrintable(loaded.error));
    return std::move(*loaded.document);
}

PlotDocument documentOf(std::vector<Page> pages)
{
    DisplayList plot;
    plot.pages = std::move(pages);
    return PlotDocument(QStringLiteral("/plots/drawing.plt"), std::move(plot));
}

/// A page with a square outline `side` plot units wide: far larger than paper when `side` is.
Page squarePage(double side)
{
    return SamplePage()
        .stroke({ { 0, 0 }, { side, 0 }, { side, side }, { 0, side } }, pen({ 0, 0, 0 }, 40), true)
        .build();
}

} // namespace

Q_DECLARE_METATYPE(std::vector<plotviewer::Page>)

class tst_TiledPrinting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void sheetsHoldTheWholeDrawing_data();
    void sheetsHoldTheWholeDrawing();
    void sheetsAndWarnings_data();
    void sheetsAndWarnings();

private:
    /// Prints `document` on `paper` as a PDF and opens it; the printer stays set up for planFor().
    PdfProbe print(PlotDocument &document, QPrinter &printer, QPageSize::PageSizeId paper);

    QTemporaryDir m_folder;
    int m_files = 0;
};

void tst_TiledPrinting::initTestCase()
{
    if (const QString missing = PdfProbe::missingTools(); !missing.isEmpty())
        QSKIP(qPrintable(missing));
    QVERIFY(m_folder.isValid());
}

PdfProbe tst_TiledPrinting::print(PlotDocument &document, QPrinter &printer, QPageSize::PageSizeId paper)
{
    const QString path = m_folder.filePath(QStringLiteral("print-%1.pdf").arg(++m_files));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(paper));
    PrinterSelection printers(
        std::make_shared<FixedPrinterLookup>(QString()), std::make_shared<ScriptedPrintDialog>());
    QString error;
    PdfProbe probe;
    if (!PrintJob(document, printers).runOn(printer, &error) || !probe.open(path, &error))
        qWarning("%s", qPrintable(error));
    return probe;
}

void tst_TiledPrinting::sheetsHoldTheWholeDrawing_data()
{
    QTest::addColumn<QPageSize::PageSizeId>("paper");
    QTest::newRow("A1 on A4") << QPageSize::A4;
    QTest::newRow("A1 on A3") << QPageSize::A3;
    QTest::newRow("A1 on Letter") << QPageSize::Letter;
}

void tst_TiledPrinting::sheetsHoldTheWholeDrawing()
{
    QFETCH(QPageSize::PageSizeId, paper);
    PlotDocument document = loadDocument(a1Drawing);
    document.requestActualSize();
    QPrinter printer(QPrinter::HighResolution);
    const PdfProbe pdf = print(document, printer, paper);
    const Page &page = document.plot().pages.front();
    const SheetPlan plan = PagedPlotWriter({}).planFor(printer, page);
    QVERIFY(plan.isPrintable() && !plan.fitsOneSheet());
    QCOMPARE(pdf.pageCount(), plan.sheetCount());
    QSize grid;
    const QString labels = checkSheetLabels(pdf, 0, QStringLiteral("a1-drawing.plt"), &grid);
    QVERIFY2(labels.isEmpty(), qPrintable(labels));
    QCOMPARE(grid, QSize(plan.columns(), plan.rows()));

    for (int i = 0; i < pdf.pageCount(); ++i) {
        QString error;
        const QImage sheet = pdf.renderPage(i, probeDpi, &error);
        QVERIFY2(!sheet.isNull(), qPrintable(error));
        QCOMPARE(sheet.width() > sheet.height(), plan.orientation() == QPageLayout::Landscape);
        const Sheet at = plan.sheet(i);
        const QRectF t = at.tile;
        // Trim marks run on from the tile's corners, a millimetre clear of it.
        for (const QPointF &corner : { t.topLeft(), t.bottomRight() }) {
            const double outward = corner == t.topLeft() ? -1 : 1;
            QVERIFY(inkIn(sheet, QRectF(corner.x() + outward * 3 - 1, corner.y() - 0.5, 2, 1)) > 0);
            QVERIFY(inkIn(sheet, QRectF(corner.x() - 0.5, corner.y() + outward * 3 - 1, 1, 2)) > 0);
        }
        // Ticks in the top band where a left or right neighbour's tile begins, and only there.
        const double o = SheetPlan::overlap;
        QCOMPARE(inkIn(sheet, QRectF(t.left() + o - 0.5, t.top() - 2.5, 1, 1)) > 0, at.column > 0);
        QCOMPARE(inkIn(sheet, QRectF(t.right() - o - 0.5, t.top() - 2.5, 1, 1)) > 0,
            at.column + 1 < plan.columns());
        // The drawing stays within its tile: the side bands are bare between the marks.
        QCOMPARE(inkIn(sheet, QRectF(t.left() - 5, t.top() + o + 2, 4, t.height() - 2 * o - 4)), 0);
        QCOMPARE(inkIn(sheet, QRectF(t.right() + 1, t.top() + o + 2, 4, t.height() - 2 * o - 4)), 0);
    }

    const QString joined = compareJoinedSheets(pdf, 0, plan, page);
    QVERIFY2(joined.isEmpty(), qPrintable(joined));
}

void tst_TiledPrinting::sheetsAndWarnings_data()
{
    QTest::addColumn<std::vector<Page>>("pages");
    QTest::addColumn<bool>("actualSize");
    QTest::addColumn<int>("sheets");
    QTest::addColumn<int>("firstTiled"); // the first page of tiles, or -1
    QTest::addColumn<QString>("warning");

    const Page a1 = loadDocument(a1Drawing).plot().pages.front();
    // Four by two inches, and a 10 m square: 38 x 56 sheets of A4, too many to print.
    const Page small = SamplePage().frame({ 0, 0, 4064, 2032 }).stroke({ { 0, 0 }, { 4064, 2032 } }).build();
    const Page huge = squarePage(400000);
    QTest::newRow("fitted: one sheet") << std::vector { a1 } << false << 1 << -1 << QString();
    QTest::newRow("fits: one sheet, no marks, nothing to say")
        << std::vector { small } << true << 1 << -1 << QString();
    QTest::newRow("tiled") << std::vector { a1 } << true << 15 << 0
                           << QStringLiteral("printed at actual size on 15 A4 sheets");
    QTest::newRow("a small page, then a tiled one") << std::vector { small,
        a1 } << true << 16 << 1 << QStringLiteral("printed at actual size on 16 A4 sheets");
    QTest::newRow("too large to tile: fitted instead")
        << std::vector { huge } << true << 1 << -1
        << QStringLiteral(
               "too large to print at actual size: it would take 2128 A4 sheets, more than the 200 "
               "allowed; fitted to the paper instead");
}

void tst_TiledPrinting::sheetsAndWarnings()
{
    QFETCH(std::vector<Page>, pages);
    QFETCH(bool, actualSize);
    QFETCH(int, sheets);
    QFETCH(int, firstTiled);
    QFETCH(QString, warning);
    PlotDocument document = documentOf(pages);
    if (actualSize)
        document.requestActualSize();
    QPrinter printer(QPrinter::HighResolution);
    const PdfProbe pdf = print(document, printer, QPageSize::A4);
    QCOMPARE(pdf.pageCount(), sheets);
    QCOMPARE(document.warnings(), warning.isEmpty() ? QStringList() : QStringList { warning });
    if (firstTiled >= 0) {
        QSize grid;
        const QString name = pages.size() > 1 ? QStringLiteral("drawing.plt, page %1").arg(firstTiled + 1)
                                              : QStringLiteral("drawing.plt");
        const QString labels = checkSheetLabels(pdf, firstTiled, name, &grid);
        QVERIFY2(labels.isEmpty(), qPrintable(labels));
        QCOMPARE(firstTiled + grid.width() * grid.height(), sheets);
    }
    // Untiled sheets carry no label.
    QString error;
    for (int i = 0; i < (firstTiled < 0 ? sheets : firstTiled); ++i)
        QVERIFY(pdf.pageText(i, &error).trimmed().isEmpty());
    // The next print at the default size says nothing of this one.
    print(document, printer, QPageSize::A4);
    QCOMPARE(document.warnings(), QStringList());
}

QTEST_MAIN(tst_TiledPrinting)
#include "tst_tiledprinting.moc"
