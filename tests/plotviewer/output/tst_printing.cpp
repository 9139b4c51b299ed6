// Printing documents to PDF printer targets, and keeping the print dialog's choice, without CUPS.

#include "FixedPrinterLookup.h"
#include "PdfProbe.h"
#include "PictureInk.h"
#include "SamplePage.h"
#include "ScriptedPrintDialog.h"
#include "plotviewer/document/PlotDocument.h"
#include "plotviewer/document/PrintJob.h"
#include "plotviewer/document/PrinterSelection.h"

#include <QTemporaryDir>
#include <QTest>

using namespace plotviewer;
using namespace plotviewer::test;

namespace {

constexpr double inch = 1016;
constexpr int probeDpi = 72;

// A page framed by its outline, with a filled mark in the top left corner to tell which way up it is.
Page outlinedPage(double width, double height, Rgb colour = { 0, 0, 0 })
{
    const double mark = std::min(width, height) / 5;
    FillStyle fill;
    fill.colour = colour;
    return SamplePage()
        .frame({ 0, 0, width, height })
        .stroke({ { 0, 0 }, { width, 0 }, { width, height }, { 0, height } }, pen(colour), true)
        .fill({ { { 0, height - mark }, { mark, height - mark }, { mark, height }, { 0, height } } }, fill)
        .build();
}

PlotDocument document(std::vector<Page> pages)
{
    DisplayList plot;
    plot.pages = std::move(pages);
    return PlotDocument(QStringLiteral("/plots/drawing.plt"), std::move(plot));
}

std::shared_ptr<PrinterSelection> selection(
    const QString &defaultPrinter, std::shared_ptr<ScriptedPrintDialog> dialog = {})
{
    return std::make_shared<PrinterSelection>(std::make_shared<FixedPrinterLookup>(defaultPrinter),
        dialog ? dialog : std::make_shared<ScriptedPrintDialog>());
}

void usePdfFile(QPrinter &printer, const QString &path)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
}

} // namespace

class tst_Printing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void printsEachPlotPageOnASheetTurnedToItsShape();
    void placement_data();
    void placement();
    void actualSizeIsForTheNextPrintOnly();
    void colourModes_data();
    void colourModes();
    void printingFails_data();
    void printingFails();
    void dialogChoiceHoldsForLaterJobs();
    void cancelledDialogKeepsEarlierChoice();
    void dialogStartsFromEarlierChoice();
    void unavailableDialogSaysWhy();
    void orientationIsForcedOnlyWhenTurned_data();
    void orientationIsForcedOnlyWhenTurned();

private:
    PdfProbe printToPdf(PlotDocument &doc, PrinterSelection &printers);

    QTemporaryDir m_folder;
    int m_files = 0;
};

void tst_Printing::initTestCase()
{
    if (const QString missing = PdfProbe::missingTools(); !missing.isEmpty())
        QSKIP(qPrintable(missing));
    QVERIFY(m_folder.isValid());
}

PdfProbe tst_Printing::printToPdf(PlotDocument &doc, PrinterSelection &printers)
{
    const QString path = m_folder.filePath(QStringLiteral("print-%1.pdf").arg(++m_files));
    QPrinter printer(QPrinter::HighResolution);
    usePdfFile(printer, path);
    QString error;
    PdfProbe probe;
    if (!PrintJob(doc, printers).runOn(printer, &error) || !probe.open(path, &error))
        qWarning("%s", qPrintable(error));
    return probe;
}

void tst_Printing::printsEachPlotPageOnASheetTurnedToItsShape()
{
    PlotDocument doc = document({ outlinedPage(8000, 4000), outlinedPage(4000, 8000) });
    const auto printers = selection(QString());
    const PdfProbe pdf = printToPdf(doc, *printers);
    QCOMPARE(pdf.pageCount(), 2);
    QCOMPARE(pdf.title(), QStringLiteral("drawing.plt"));
    QVERIFY(pdf.pageSize(0).width() > pdf.pageSize(0).height());
    QVERIFY(pdf.pageSize(1).width() < pdf.pageSize(1).height());
    QCOMPARE(qRound(pdf.pageSize(0).width()), 842);
    // The mark of each page lands top left: the plot is upright on its sheet.
    for (int page = 0; page < 2; ++page) {
        QString error;
        const QImage sheet = pdf.renderPage(page, probeDpi, &error);
        QVERIFY2(!sheet.isNull(), qPrintable(error));
        const QRect ink = inkBounds(sheet);
        const QRect topLeft(ink.topLeft(), ink.size() / 8);
        const QRect bottomRight(ink.center(), ink.size() / 2);
        QVERIFY(inkedPixelCount(sheet.copy(topLeft)) > topLeft.width() * topLeft.height() / 2);
        QVERIFY(inkedPixelCount(sheet.copy(bottomRight.adjusted(0, 0, -4, -4))) < bottomRight.width());
    }
}

void tst_Printing::placement_data()
{
    QTest::addColumn<Placement>("placement");
    QTest::addColumn<double>("inkWidthInches");

    // A4 landscape is 11.69 inches wide; QPrinter's default margins leave about 10.9 inches.
    QTest::newRow("fitted to the printable area") << Placement::Fit << -1.0;
    QTest::newRow("actual size: four inches") << Placement::ActualSize << 4.0;
}

void tst_Printing::placement()
{
    QFETCH(Placement, placement);
    QFETCH(double, inkWidthInches);
    PlotDocument doc = document({ outlinedPage(4 * inch, 2 * inch) });
    if (placement == Placement::ActualSize)
        doc.requestActualSize();
    const auto printers = selection(QString());
    const PdfProbe pdf = printToPdf(doc, *printers);
    QCOMPARE(pdf.pageCount(), 1);
    QString error;
    const QImage sheet = pdf.renderPage(0, probeDpi, &error);
    QVERIFY2(!sheet.isNull(), qPrintable(error));
    const QRect ink = inkBounds(sheet);
    if (inkWidthInches < 0) {
        QPrinter reference(QPrinter::HighResolution);
        usePdfFile(reference, m_folder.filePath(QStringLiteral("unused.pdf")));
        reference.setPageOrientation(QPageLayout::Landscape);
        inkWidthInches = reference.pageLayout().paintRect(QPageLayout::Inch).width();
    }
    QVERIFY2(std::abs(ink.width() - inkWidthInches * probeDpi) <= 2,
        qPrintable(QStringLiteral("ink is %1 points wide").arg(ink.width())));
    QVERIFY2(std::abs(ink.height() - inkWidthInches / 2 * probeDpi) <= 2,
        qPrintable(QStringLiteral("ink is %1 points tall").arg(ink.height())));
    QVERIFY2(std::abs(ink.center().x() - sheet.width() / 2) <= 2, "centred across");
}

void tst_Printing::actualSizeIsForTheNextPrintOnly()
{
    PlotDocument doc = document({ outlinedPage(2 * inch, inch) });
    doc.requestActualSize();
    const auto printers = selection(QString());
    QString error;
    const QImage first = printToPdf(doc, *printers).renderPage(0, probeDpi, &error);
    const QImage second = printToPdf(doc, *printers).renderPage(0, probeDpi, &error);
    QVERIFY2(!first.isNull() && !second.isNull(), qPrintable(error));
    QVERIFY(std::abs(inkBounds(first).width() - 2 * probeDpi) <= 2);
    QVERIFY(inkBounds(second).width() > 8 * probeDpi);
}

void tst_Printing::colourModes_data()
{
    QTest::addColumn<ColourMode>("mode");
    QTest::addColumn<bool>("coloured");

    QTest::newRow("colour") << ColourMode::Colour << true;
    QTest::newRow("grey scale") << ColourMode::GreyScale << false;
    QTest::newRow("black and white") << ColourMode::BlackAndWhite << false;
}

void tst_Printing::colourModes()
{
    QFETCH(ColourMode, mode);
    QFETCH(bool, coloured);
    PlotDocument doc = document({ outlinedPage(3000, 2000, { 200, 30, 30 }) });
    doc.setColourMode(mode);
    const auto printers = selection(QString());
    QString error;
    const QImage sheet = printToPdf(doc, *printers).renderPage(0, probeDpi, &error);
    QVERIFY2(!sheet.isNull(), qPrintable(error));
    QVERIFY(inkedPixelCount(sheet) > 1000);
    QCOMPARE(colouredPixelCount(sheet) > 0, coloured);
}

void tst_Printing::printingFails_data()
{
    QTest::addColumn<QString>("defaultPrinter");
    QTest::addColumn<QString>("error");

    QTest::newRow("no printer installed")
        << QString()
        << QStringLiteral(
               "Cannot print \"drawing.plt\": No printer is installed, so there is nothing to print to.");
    QTest::newRow("default printer gone") << QStringLiteral("Tarnwick_No_Such_Queue")
                                          << QStringLiteral("Cannot print \"drawing.plt\": The printer "
                                                            "\"Tarnwick_No_Such_Queue\" is not available.");
}

void tst_Printing::printingFails()
{
    QFETCH(QString, defaultPrinter);
    QFETCH(QString, error);
    PlotDocument doc = document({ outlinedPage(3000, 2000) });
    const auto printers = selection(defaultPrinter);
    QString reported;
    QVERIFY(!PrintJob(doc, *printers).run(&reported));
    QCOMPARE(reported, error);
}

void tst_Printing::dialogChoiceHoldsForLaterJobs()
{
    const auto dialog = std::make_shared<ScriptedPrintDialog>();
    const QString chosen = m_folder.filePath(QStringLiteral("chosen.pdf"));
    dialog->script = [&](QPrinter &printer) {
        usePdfFile(printer, chosen);
        printer.setCopyCount(2);
    };
    const auto printers = selection(QString(), dialog);
    QString error;
    QVERIFY(printers->choose(&error));

    PlotDocument first = document({ outlinedPage(3000, 2000) });
    PlotDocument second = document({ outlinedPage(3000, 2000) });
    QVERIFY2(PrintJob(first, *printers).run(&error), qPrintable(error));
    QVERIFY2(PrintJob(second, *printers).run(&error), qPrintable(error));
    PdfProbe pdf;
    QVERIFY2(pdf.open(chosen, &error), qPrintable(error));
    QCOMPARE(pdf.pageCount(), 1);
    QVERIFY2(pdf.open(m_folder.filePath(QStringLiteral("chosen-2.pdf")), &error), qPrintable(error));
    const std::unique_ptr<QPrinter> third = printers->printerForNextJob(&error);
    QVERIFY(third);
    QCOMPARE(third->outputFileName(), m_folder.filePath(QStringLiteral("chosen-3.pdf")));
    QCOMPARE(third->copyCount(), 2);
}

void tst_Printing::cancelledDialogKeepsEarlierChoice()
{
    const auto dialog = std::make_shared<ScriptedPrintDialog>();
    const auto printers = selection(QString(), dialog);
    const QString kept = m_folder.filePath(QStringLiteral("kept.pdf"));
    dialog->script = [&](QPrinter &printer) { usePdfFile(printer, kept); };
    QString error;
    QVERIFY(printers->choose(&error));
    dialog->script
        = [&](QPrinter &printer) { usePdfFile(printer, m_folder.filePath(QStringLiteral("discarded.pdf"))); };
    dialog->outcome = PrintDialogPrompt::Outcome::Cancelled;
    QVERIFY(printers->choose(&error));
    const std::unique_ptr<QPrinter> printer = printers->printerForNextJob(&error);
    QVERIFY(printer);
    QCOMPARE(printer->outputFileName(), kept);
}

void tst_Printing::dialogStartsFromEarlierChoice()
{
    const auto dialog = std::make_shared<ScriptedPrintDialog>();
    const QString chosen = m_folder.filePath(QStringLiteral("again.pdf"));
    dialog->script = [&](QPrinter &printer) {
        usePdfFile(printer, chosen);
        printer.setCopyCount(3);
    };
    const auto printers = selection(QString(), dialog);
    QString error;
    QVERIFY(printers->choose(&error));
    dialog->script = [](QPrinter &) {};
    QVERIFY(printers->choose(&error));
    QCOMPARE(dialog->shown, 2);
    QCOMPARE(dialog->offeredOutputFile, chosen);
    QCOMPARE(dialog->offeredCopies, 3);
}

void tst_Printing::unavailableDialogSaysWhy()
{
    const auto dialog = std::make_shared<ScriptedPrintDialog>();
    dialog->outcome = PrintDialogPrompt::Outcome::Unavailable;
    QString error;
    QVERIFY(!selection(QString(), dialog)->choose(&error));
    QCOMPARE(error, QStringLiteral("no dialog here"));
}

void tst_Printing::orientationIsForcedOnlyWhenTurned_data()
{
    QTest::addColumn<bool>("turn");
    QTest::addColumn<bool>("forced");

    QTest::newRow("left as offered: each plot decides") << false << false;
    QTest::newRow("turned: the choice holds") << true << true;
}

void tst_Printing::orientationIsForcedOnlyWhenTurned()
{
    QFETCH(bool, turn);
    QFETCH(bool, forced);
    const auto dialog = std::make_shared<ScriptedPrintDialog>();
    const QString chosen = m_folder.filePath(QStringLiteral("turned-%1.pdf").arg(turn));
    dialog->script = [&](QPrinter &printer) {
        usePdfFile(printer, chosen);
        if (turn)
            printer.setPageOrientation(QPageLayout::Landscape);
    };
    const auto printers = selection(QString(), dialog);
    QString error;
    QVERIFY(printers->choose(&error));
    QCOMPARE(printers->orientation().has_value(), forced);

    // A tall plot prints portrait unless landscape was forced.
    PlotDocument doc = document({ outlinedPage(2000, 3000) });
    QVERIFY2(PrintJob(doc, *printers).run(&error), qPrintable(error));
    PdfProbe pdf;
    QVERIFY2(pdf.open(chosen, &error), qPrintable(error));
    QCOMPARE(pdf.pageSize(0).width() > pdf.pageSize(0).height(), forced);
}

QTEST_MAIN(tst_Printing)
#include "tst_printing.moc"
