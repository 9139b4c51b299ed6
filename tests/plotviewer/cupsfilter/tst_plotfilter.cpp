// The plot filter for CUPS: how job options become drawing settings, and the filter program's
// contract (arguments, input from a file or standard input, PDF out, ERROR: lines and exit status).

#include "CupsEndToEnd.h"
#include "OtherFiles.h"
#include "PdfProbe.h"
#include "PictureInk.h"
#include "TiledSheets.h"
#include "plotviewer/cupsfilter/CupsJobOptions.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace plotviewer;
using namespace plotviewer::test;

namespace {

constexpr int runTimeoutMs = 60000;
const QByteArray kPlot = "IN;SP1;PA0,0;PD8000,0,8000,4000,0,4000,0,0;PU;";
// A red frame 8000 plot units (7.87 inches) wide, which fits any common paper at actual size.
const QByteArray kRedPlot = "IN;SP2;PA0,0;PD8000,0,8000,4000,0,4000,0,0;PU;";

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

Run plottopdf(const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    process.start(QStringLiteral(TARNWICK_PLOTTOPDF), arguments);
    process.write(input);
    process.closeWriteChannel();
    Run run;
    if (process.waitForFinished(runTimeoutMs) && process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

/// Keeps the filter's output as `name` in `folder` and opens it; empty, or why it could not.
QString openOutput(const QByteArray &output, const QTemporaryDir &folder, const QString &name, PdfProbe &pdf)
{
    const QString path = folder.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(output) != output.size())
        return QStringLiteral("cannot keep the PDF as %1").arg(path);
    file.close();
    QString error;
    return pdf.open(path, &error) ? QString() : error;
}

QStringList jobArguments(const QString &options, const QStringList &file = {})
{
    return QStringList { QStringLiteral("17"), QStringLiteral("someone"), QStringLiteral("drawing.plt"),
        QStringLiteral("1"), options }
    + file;
}

} // namespace

Q_DECLARE_METATYPE(ColourMode)
Q_DECLARE_METATYPE(Placement)

class tst_PlotFilter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void jobOptions_data();
    void jobOptions();
    void failures_data();
    void failures();
    void printsFromFileOrStandardInput_data();
    void printsFromFileOrStandardInput();
    void jobOptionsReachThePrintedPage_data();
    void jobOptionsReachThePrintedPage();
    void actualSizeTilesLargePlots();

private:
    QTemporaryDir m_dir;
};

void tst_PlotFilter::jobOptions_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<QPageSize::PageSizeId>("paper");
    QTest::addColumn<ColourMode>("colour");
    QTest::addColumn<Placement>("placement");

    const auto A4 = QPageSize::A4;
    QTest::newRow("none") << QString() << A4 << ColourMode::Colour << Placement::Fit;
    QTest::newRow("media by name") << QStringLiteral("media=Letter") << QPageSize::Letter
                                   << ColourMode::Colour << Placement::Fit;
    QTest::newRow("media by PWG name")
        << QStringLiteral("media=iso_a3_297x420mm") << QPageSize::A3 << ColourMode::Colour << Placement::Fit;
    QTest::newRow("PWG name in inches") << QStringLiteral("media=na_legal_8.5x14in") << QPageSize::Legal
                                        << ColourMode::Colour << Placement::Fit;
    QTest::newRow("media with a tray")
        << QStringLiteral("media=Tray1,A5") << QPageSize::A5 << ColourMode::Colour << Placement::Fit;
    QTest::newRow("PageSize") << QStringLiteral("PageSize=A3") << QPageSize::A3 << ColourMode::Colour
                              << Placement::Fit;
    QTest::newRow("unknown media keeps A4")
        << QStringLiteral("media=napkin") << A4 << ColourMode::Colour << Placement::Fit;
    QTest::newRow("absurd PWG size keeps A4")
        << QStringLiteral("media=custom_huge_99999x99999mm") << A4 << ColourMode::Colour << Placement::Fit;
    QTest::newRow("monochrome") << QStringLiteral("print-color-mode=monochrome") << A4
                                << ColourMode::GreyScale << Placement::Fit;
    QTest::newRow("ColorModel Gray") << QStringLiteral("ColorModel=Gray") << A4 << ColourMode::GreyScale
                                     << Placement::Fit;
    QTest::newRow("ColorModel Grayscale")
        << QStringLiteral("ColorModel=Grayscale") << A4 << ColourMode::GreyScale << Placement::Fit;
    QTest::newRow("ColorModel Black")
        << QStringLiteral("ColorModel=Black") << A4 << ColourMode::GreyScale << Placement::Fit;
    QTest::newRow("bi-level") << QStringLiteral("print-color-mode=bi-level") << A4
                              << ColourMode::BlackAndWhite << Placement::Fit;
    QTest::newRow("colour asked") << QStringLiteral("print-color-mode=color ColorModel=RGB") << A4
                                  << ColourMode::Colour << Placement::Fit;
    QTest::newRow("print-scaling none")
        << QStringLiteral("print-scaling=none") << A4 << ColourMode::Colour << Placement::ActualSize;
    QTest::newRow("print-scaling fit")
        << QStringLiteral("print-scaling=fit") << A4 << ColourMode::Colour << Placement::Fit;
    QTest::newRow("actual-size alone")
        << QStringLiteral("actual-size") << A4 << ColourMode::Colour << Placement::ActualSize;
    QTest::newRow("noactual-size") << QStringLiteral("noactual-size") << A4 << ColourMode::Colour
                                   << Placement::Fit;
    QTest::newRow("all at once with quotes")
        << QStringLiteral("job-name='a b' media=A3 print-color-mode=monochrome actual-size=true")
        << QPageSize::A3 << ColourMode::GreyScale << Placement::ActualSize;
}

void tst_PlotFilter::jobOptions()
{
    QFETCH(QString, options);
    QFETCH(QPageSize::PageSizeId, paper);
    QFETCH(ColourMode, colour);
    QFETCH(Placement, placement);
    const CupsJobOptions job = CupsJobOptions::parse(options.toUtf8());
    QCOMPARE(job.paper.id(), paper);
    QCOMPARE(job.render.colourMode, colour);
    QCOMPARE(job.render.placement, placement);
}

void tst_PlotFilter::failures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("message");

    QTest::newRow("too few arguments")
        << QStringList { QStringLiteral("17") } << QByteArray() << QStringLiteral("usage: ");
    QTest::newRow("missing file") << jobArguments({}, { m_dir.filePath(QStringLiteral("none.plt")) })
                                  << QByteArray()
                                  << QStringLiteral("Cannot open the plot file \"drawing.plt\"");
    QTest::newRow("folder") << jobArguments({}, { m_dir.path() }) << QByteArray()
                            << QStringLiteral("Cannot open the plot file \"drawing.plt\"");
    QTest::newRow("empty input") << jobArguments({}) << QByteArray()
                                 << QStringLiteral("holds nothing to draw");
    QTest::newRow("text, not a plot") << jobArguments({}) << QByteArray("set terminal png\nplot sin(x)\n")
                                      << QStringLiteral("\"drawing.plt\" does not look like a plot file");
    QTest::newRow("an archive") << jobArguments({}) << zipArchive()
                                << QStringLiteral("\"drawing.plt\" is a Zip archive, not a plot file.");
    QTest::newRow("raw PCL text") << jobArguments({})
                                  << QByteArray("\x1b"
                                                "E\x1b&l1OHello\x0c\x1b"
                                                "E")
                                  << QStringLiteral("holds nothing to draw");
}

void tst_PlotFilter::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QString, message);
    const Run run = plottopdf(arguments, input);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.out.isEmpty(), "a failed job must send nothing on to the printer");
    const QStringList errors = run.err.split(u'\n').filter(QRegularExpression(QStringLiteral("^ERROR: ")));
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.front().contains(message), qPrintable(run.err));
}

void tst_PlotFilter::printsFromFileOrStandardInput_data()
{
    QTest::addColumn<bool>("fromFile");
    QTest::addColumn<QString>("options");
    QTest::addColumn<QSize>("pageSize");

    // The plot is wide, so its page turns to landscape.
    QTest::newRow("file, default paper") << true << QString() << QSize(842, 595);
    QTest::newRow("standard input, Letter")
        << false << QStringLiteral("media=na_letter_8.5x11in") << QSize(792, 612);
}

void tst_PlotFilter::printsFromFileOrStandardInput()
{
    QFETCH(bool, fromFile);
    QFETCH(QString, options);
    QFETCH(QSize, pageSize);
    if (const QString missing = PdfProbe::missingTools(); !missing.isEmpty())
        QSKIP(qPrintable(missing));
    const QString plot = m_dir.filePath(QStringLiteral("wide.plt"));
    QFile file(plot);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kPlot) == kPlot.size());
    file.close();
    const Run run
        = fromFile ? plottopdf(jobArguments(options, { plot })) : plottopdf(jobArguments(options), kPlot);
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY(!run.err.contains(QLatin1String("ERROR:")));

    PdfProbe pdf;
    const QString unread = openOutput(run.out, m_dir, QStringLiteral("out.pdf"), pdf);
    QVERIFY2(unread.isEmpty(), qPrintable(unread));
    QCOMPARE(pdf.pageCount(), 1);
    QCOMPARE(pdf.pageSize(0).toSize(), pageSize);
    QCOMPARE(pdf.title(), QStringLiteral("drawing.plt"));
}

void tst_PlotFilter::jobOptionsReachThePrintedPage_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<bool>("coloured");
    QTest::addColumn<double>("inkInches"); // the frame's printed width; 0 when fitted to the sheet

    QTest::newRow("colour, fitted") << QString() << true << 0.0;
    QTest::newRow("print-color-mode monochrome")
        << QStringLiteral("print-color-mode=monochrome") << false << 0.0;
    QTest::newRow("print-scaling none: 1016 units to the inch")
        << QStringLiteral("print-scaling=none") << true << 8000.0 / 1016;
}

void tst_PlotFilter::jobOptionsReachThePrintedPage()
{
    QFETCH(QString, options);
    QFETCH(bool, coloured);
    QFETCH(double, inkInches);
    if (const QString missing = PdfProbe::missingTools(); !missing.isEmpty())
        QSKIP(qPrintable(missing));
    const Run run = plottopdf(jobArguments(options), kRedPlot);
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    PdfProbe pdf;
    const QString unread = openOutput(run.out, m_dir, QStringLiteral("options.pdf"), pdf);
    QVERIFY2(unread.isEmpty(), qPrintable(unread));
    constexpr int dpi = 100;
    QString error;
    const QImage page = singleInkedSheet(pdf, dpi, &error);
    QVERIFY2(!page.isNull(), qPrintable(error));
    QCOMPARE(colouredPixelCount(page) > 0, coloured);
    const QRect ink = inkBounds(page);
    QVERIFY(!ink.isNull());
    // Fitted, the frame fills most of a landscape A4 sheet, 11.7 inches wide.
    const double expected = inkInches > 0 ? inkInches * dpi : 0;
    if (expected > 0)
        QVERIFY2(std::abs(ink.width() - expected) <= 4, qPrintable(QString::number(ink.width())));
    else
        QVERIFY2(ink.width() > 10 * dpi, qPrintable(QString::number(ink.width())));
}

void tst_PlotFilter::actualSizeTilesLargePlots()
{
    if (const QString missing = PdfProbe::missingTools(); !missing.isEmpty())
        QSKIP(qPrintable(missing));
    QFile a1(QStringLiteral(TARNWICK_SERVER_TEST_DATA "/a1-drawing.plt"));
    QVERIFY(a1.open(QIODevice::ReadOnly));
    const Run run
        = plottopdf(jobArguments(QStringLiteral("print-scaling=none media=iso_a3_297x420mm")), a1.readAll());
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    PdfProbe pdf;
    const QString unread = openOutput(run.out, m_dir, QStringLiteral("tiled.pdf"), pdf);
    QVERIFY2(unread.isEmpty(), qPrintable(unread));
    QSize grid;
    const QString labels = checkSheetLabels(pdf, 0, QStringLiteral("drawing.plt"), &grid);
    QVERIFY2(labels.isEmpty(), qPrintable(labels));
    QCOMPARE(pdf.pageCount(), grid.width() * grid.height());
    const QStringList warnings
        = run.err.split(u'\n').filter(QRegularExpression(QStringLiteral("^WARNING: ")));
    QCOMPARE(warnings,
        QStringList {
            QStringLiteral("WARNING: printed at actual size on %1 A3 sheets").arg(pdf.pageCount()) });
}

QTEST_GUILESS_MAIN(tst_PlotFilter)
#include "tst_plotfilter.moc"
