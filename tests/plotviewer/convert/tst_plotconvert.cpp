// The plotconvert command: outputs, options, messages and exit codes.

#include "PdfProbe.h"
#include "PictureInk.h"
#include "TiledSheets.h"
#include "UnprivilegedRun.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace plotviewer::test;

namespace {

QString dataFile(const char *name)
{
    return QStringLiteral(TARNWICK_SERVER_TEST_DATA "/%1").arg(QLatin1String(name));
}

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;

    /// What plotconvert itself said on standard error, without what Qt may warn about.
    QString complaint() const
    {
        QStringList lines = err.split(QLatin1Char('\n'));
        lines.removeIf([](const QString &line) { return !line.startsWith(QLatin1String("plotconvert: ")); });
        return lines.join(QLatin1Char('\n'));
    }
};

Run plotconvert(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(TARNWICK_PLOTCONVERT), arguments);
    Run run;
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

} // namespace

class tst_PlotConvert : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void failures_data();
    void failures();
    void fileUnderAClosedFolderCannotBeRead();
    void helpGoesToStandardOutput();
    void warningsGoToStandardErrorWithSuccess();
    void pictures_data();
    void pictures();
    void shadingInEveryColourMode_data();
    void shadingInEveryColourMode();
    void penTable_data();
    void penTable();
    void pdfPagesTurnToTheirPlots_data();
    void pdfPagesTurnToTheirPlots();
    void actualSizeOnSmallerPaper_data();
    void actualSizeOnSmallerPaper();
    void batch_data();
    void batch();

private:
    /// Writes `content` to `name` in the test folder; its path, or empty when that failed.
    QString writePlot(const QString &name, const QByteArray &content);

    QTemporaryDir m_dir;
};

void tst_PlotConvert::failures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    const QString plot = dataFile("landscape.plt");
    const QString out = m_dir.filePath(QStringLiteral("out.png"));
    QTest::newRow("no files") << QStringList {} << 64
                              << QStringLiteral("expected a plot file and an output file");
    QTest::newRow("one file") << QStringList { plot } << 64
                              << QStringLiteral("expected a plot file and an output file");
    QTest::newRow("unknown option") << QStringList { QStringLiteral("--sideways"), plot, out } << 64
                                    << QStringLiteral("Unknown option 'sideways'");
    QTest::newRow("unknown output format") << QStringList { plot, m_dir.filePath(QStringLiteral("out.gif")) }
                                           << 64 << QStringLiteral("cannot tell the output format");
    QTest::newRow("unknown colour mode") << QStringList { QStringLiteral("--colour=sepia"), plot, out } << 64
                                         << QStringLiteral("unknown colour mode \"sepia\"");
    QTest::newRow("colour mode out of range") << QStringList { QStringLiteral("-c"), QStringLiteral("3"),
        plot, out } << 64 << QStringLiteral("unknown colour mode \"3\"");
    QTest::newRow("malformed size") << QStringList { QStringLiteral("--size=wide"), plot, out } << 64
                                    << QStringLiteral("bad picture size \"wide\"");
    QTest::newRow("zero size") << QStringList { QStringLiteral("--size=0x100"), plot, out } << 64
                               << QStringLiteral("bad picture size \"0x100\"");
    QTest::newRow("absurd size") << QStringList { QStringLiteral("--size=99999x99999"), plot, out } << 64
                                 << QStringLiteral("bad picture size");
    QTest::newRow("unknown format") << QStringList { QStringLiteral("--format=gif"), plot, out } << 64
                                    << QStringLiteral("unknown format \"gif\"");
    QTest::newRow("folder without plots") << QStringList { QStringLiteral("-o"), m_dir.path() } << 64
                                          << QStringLiteral("expected plot files to convert into");
    QTest::newRow("no jobs") << QStringList { QStringLiteral("-o"), m_dir.path(), QStringLiteral("--jobs=0"),
        plot } << 64 << QStringLiteral("bad job count \"0\"");
    QTest::newRow("unknown paper") << QStringList { QStringLiteral("--paper=Napkin"), plot, out } << 64
                                   << QStringLiteral("unknown paper \"Napkin\"");
    const QString noTable = m_dir.filePath(QStringLiteral("pens.ini"));
    QTest::newRow("pen table missing") << QStringList { QStringLiteral("--pens"), noTable, plot, out } << 66
                                       << QStringLiteral("the pen table \"%1\" does not exist").arg(noTable);
    QTest::newRow("pen table is a folder") << QStringList { QStringLiteral("--pens"), m_dir.path(), plot,
        out } << 66 << QStringLiteral("the pen table \"%1\" is not a file").arg(m_dir.path());
    const QString missing = m_dir.filePath(QStringLiteral("missing.plt"));
    QTest::newRow("input missing") << QStringList { missing,
        out } << 66 << QStringLiteral("Cannot open the plot file \"%1\": it does not exist.").arg(missing);
    QTest::newRow("input is a folder")
        << QStringList { m_dir.path(), out } << 66 << QStringLiteral("it is a folder, not a file.");
    const QString empty = m_dir.filePath(QStringLiteral("empty.plt"));
    QFile(empty).open(QIODevice::WriteOnly);
    QTest::newRow("nothing drawable") << QStringList { empty,
        out } << 65 << QStringLiteral("The plot file \"%1\" holds nothing to draw").arg(empty);
    const QString nowhere = m_dir.filePath(QStringLiteral("no/such/folder/out.png"));
    QTest::newRow("cannot write a picture") << QStringList { plot, nowhere } << 73
                                            << QStringLiteral("Cannot write the picture \"%1\"").arg(nowhere);
    const QString nowherePdf = m_dir.filePath(QStringLiteral("no/such/folder/out.pdf"));
    QTest::newRow("cannot write a PDF") << QStringList { plot, nowherePdf } << 73
                                        << QStringLiteral("Cannot write the PDF \"%1\"").arg(nowherePdf);
}

void tst_PlotConvert::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const Run run = plotconvert(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.complaint().contains(message), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
}

void tst_PlotConvert::fileUnderAClosedFolderCannotBeRead()
{
    if (const QString reason = UnprivilegedRun::unavailableReason(); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    // Mode 0: neither the unprivileged user (as root) nor the owner (otherwise) may enter it.
    const UnprivilegedRun run({ QStringLiteral(TARNWICK_PLOTCONVERT) });
    const QString closed = QDir(run.folder()).filePath(QStringLiteral("closed"));
    const QString plot = QDir(closed).filePath(QStringLiteral("drawing.plt"));
    QVERIFY(QDir().mkpath(closed) && QFile::copy(dataFile("landscape.plt"), plot));
    QVERIFY(QFile::setPermissions(closed, {}));
    const QString out = QDir(run.makeUserFolder(QStringLiteral("out"))).filePath(QStringLiteral("out.png"));
    QProcess process;
    run.start(process, { plot, out });
    const bool finished = process.waitForFinished(60000);
    QFile::setPermissions(closed, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(finished);
    QCOMPARE(process.exitCode(), 66);
    const QString err = QString::fromLocal8Bit(process.readAllStandardError());
    QVERIFY2(err.contains(QStringLiteral("Cannot open the plot file \"%1\": it cannot be read: permission "
                                         "denied (the folder \"%2\" cannot be entered).")
                              .arg(plot, closed)),
        qPrintable(err));
    QVERIFY(!QFile::exists(out));
}

void tst_PlotConvert::helpGoesToStandardOutput()
{
    const Run run = plotconvert({ QStringLiteral("--help") });
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(
        run.out.startsWith(QLatin1String("Usage: plotconvert [options] plot output")), qPrintable(run.out));
    QVERIFY(run.out.contains(QLatin1String("--actual-size")));
    QVERIFY(run.complaint().isEmpty());
}

void tst_PlotConvert::warningsGoToStandardErrorWithSuccess()
{
    // A PCL job without a page size that draws left of the page it is assumed to have.
    const QString plot = m_dir.filePath(QStringLiteral("outside.pcl"));
    QFile file(plot);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\x1b"
               "E\x1b%0BIN;SP1;PA-3000,1000;PD-1000,1000,-1000,3000;PU;\x1b%0A\x1b"
               "E");
    file.close();
    const QString out = m_dir.filePath(QStringLiteral("outside.png"));
    const Run run = plotconvert({ plot, out });
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.complaint().contains(QLatin1String("plotconvert: warning: the drawing reaches beyond")),
        qPrintable(run.err));
    QVERIFY(inkedPixelCount(QImage(out)) > 500);
}

void tst_PlotConvert::pictures_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("coloured");

    // landscape.plt is 8020 x 4020 units with its pen; a 3% margin makes the page 8501 x 4501.
    QTest::newRow("PNG fitted to the default size")
        << QStringList {} << QStringLiteral("a.png") << QByteArray("png") << QSize(1024, 542) << true;
    QTest::newRow("JPEG in grey") << QStringList { QStringLiteral("--colour=grey") }
                                  << QStringLiteral("b.jpg") << QByteArray("jpeg") << QSize(1024, 542)
                                  << false;
    QTest::newRow("smaller size in black and white")
        << QStringList { QStringLiteral("-s"), QStringLiteral("300x300"), QStringLiteral("-c"),
               QStringLiteral("bw") }
        << QStringLiteral("c.png") << QByteArray("png") << QSize(300, 159) << false;
    QTest::newRow("actual size at 96 pixels an inch")
        << QStringList { QStringLiteral("--actual-size") } << QStringLiteral("d.png") << QByteArray("png")
        << QSize(803, 425) << true;
    // As file managers ask for thumbnails: the longest side, and an output name that may not say PNG.
    QTest::newRow("longest side") << QStringList { QStringLiteral("-s"), QStringLiteral("128") }
                                  << QStringLiteral("t.png") << QByteArray("png") << QSize(128, 68) << true;
    QTest::newRow("format given, no extension")
        << QStringList { QStringLiteral("--format"), QStringLiteral("png"), QStringLiteral("-s"),
               QStringLiteral("256") }
        << QStringLiteral("thumbnail-XXXXXX") << QByteArray("png") << QSize(256, 136) << true;
    QTest::newRow("format wins over the extension")
        << QStringList { QStringLiteral("--format=png"), QStringLiteral("--size=200") }
        << QStringLiteral("t.jpg") << QByteArray("png") << QSize(200, 106) << true;
}

void tst_PlotConvert::pictures()
{
    QFETCH(QStringList, options);
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    QFETCH(QSize, size);
    QFETCH(bool, coloured);
    const QString out = m_dir.filePath(name);
    const Run run = plotconvert(options + QStringList { dataFile("landscape.plt"), out });
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY(run.complaint().isEmpty());
    QImageReader reader(out);
    QCOMPARE(reader.format(), format);
    const QImage picture = reader.read();
    QVERIFY2(std::abs(picture.width() - size.width()) <= 2 && std::abs(picture.height() - size.height()) <= 2,
        qPrintable(QStringLiteral("%1 x %2").arg(picture.width()).arg(picture.height())));
    QVERIFY(inkedPixelCount(picture) > 500);
    QCOMPARE(colouredPixelCount(picture, 40) > 0, coloured);
}

void tst_PlotConvert::shadingInEveryColourMode_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QColor>("expected");

    // A red fill shaded to 10 %.
    QTest::newRow("colour") << QStringLiteral("colour") << QColor(255, 230, 230);
    QTest::newRow("grey") << QStringLiteral("grey") << QColor(237, 237, 237);
    QTest::newRow("black and white") << QStringLiteral("bw") << QColor(230, 230, 230);
}

void tst_PlotConvert::shadingInEveryColourMode()
{
    QFETCH(QString, mode);
    QFETCH(QColor, expected);
    const QString plot = writePlot(QStringLiteral("shaded.plt"), "IN;SP2;FT10,10;PA0,0;RR4000,3000;");
    QVERIFY(!plot.isEmpty());
    const QString out = m_dir.filePath(QStringLiteral("shaded-%1.png").arg(mode));
    const Run run
        = plotconvert({ QStringLiteral("--colour=") + mode, QStringLiteral("--size=200x150"), plot, out });
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    const QImage picture(out);
    QCOMPARE(picture.pixelColor(picture.rect().center()), expected);
}

void tst_PlotConvert::penTable_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QByteArray>("plot");
    QTest::addColumn<QList<int>>("widths"); // pixels across the two lines, at 96 to the inch
    QTest::addColumn<QList<QColor>>("colours");
    QTest::addColumn<QString>("warning");

    // Two HP-GL/1 pens, each drawing a line; 1 mm is about 4 pixels.
    const QByteArray pens = "SP1;PA0,0;PD4000,0;PU;SP2;PA0,2000;PD4000,2000;PU;";
    const QByteArray table = "[UserSettings]\nDefault_Dir=/tmp\n[Pens]\n1=2 #0000ff\n; pen 2\n2=1\n";
    QTest::newRow("no table") << QByteArray() << "IN;" + pens << QList<int> { 1, 1 }
                              << QList<QColor> { Qt::black, Qt::red } << QString();
    QTest::newRow("widths and colours")
        << table << "IN;" + pens << QList<int> { 8, 4 } << QList<QColor> { Qt::blue, Qt::red } << QString();
    QTest::newRow("the plot's PW and PC win")
        << table << "IN;PW0.35,1;PC1,0,0,0;" + pens << QList<int> { 1, 4 }
        << QList<QColor> { Qt::black, Qt::red } << QString();
    QTest::newRow("a bad line is skipped, the rest holds")
        << QByteArray("[Pens]\n1=2,5\n2=1 #00ff00\n") << "IN;" + pens << QList<int> { 1, 4 }
        << QList<QColor> { Qt::black, Qt::green }
        << QStringLiteral("line 2 (\"1=2,5\") is skipped: the width \"2,5\" is not a number");
}

void tst_PlotConvert::penTable()
{
    QFETCH(QByteArray, table);
    QFETCH(QByteArray, plot);
    QFETCH(QList<int>, widths);
    QFETCH(QList<QColor>, colours);
    QFETCH(QString, warning);
    const QString in = writePlot(QStringLiteral("pens.plt"), plot);
    const QString out = m_dir.filePath(QStringLiteral("pens.png"));
    QStringList arguments { QStringLiteral("--actual-size"), in, out };
    if (!table.isEmpty())
        arguments << QStringLiteral("--pens") << writePlot(QStringLiteral("tarnwick.ini"), table);
    const Run run = plotconvert(arguments);
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY2(warning.isEmpty() ? run.complaint().isEmpty() : run.complaint().contains(warning),
        qPrintable(run.err));
    const QImage picture(out);
    // Down the middle column: pen 2's line above pen 1's.
    const int x = picture.width() / 2;
    QList<int> found;
    QList<QColor> inks;
    for (int y = 0; y < picture.height(); ++y) {
        const QColor colour = picture.pixelColor(x, y);
        if (colour.lightness() >= inkLightness)
            continue;
        if (found.isEmpty() || picture.pixelColor(x, y - 1).lightness() >= inkLightness) {
            found << 0;
            inks << colour;
        }
        ++found.last();
        // The middle of the line gives its colour; its edges are blended with the paper.
        if (found.last() == 1 || colour.lightness() < inks.last().lightness())
            inks.last() = colour;
    }
    std::reverse(found.begin(), found.end());
    std::reverse(inks.begin(), inks.end());
    QCOMPARE(found.size(), widths.size());
    for (qsizetype i = 0; i < widths.size(); ++i) {
        QVERIFY2(std::abs(found[i] - widths[i]) <= 1,
            qPrintable(QStringLiteral("line %1 is %2 pixels").arg(i).arg(found[i])));
        // A thin line's colour is blended with the paper: each channel need only lean the right way.
        const QColor &ink = inks[i];
        const QColor &expected = colours[i];
        const auto leans = [](int found, int wanted) { return wanted == 0 ? found < 200 : found > 150; };
        QVERIFY2(leans(ink.red(), expected.red()) && leans(ink.green(), expected.green())
                && leans(ink.blue(), expected.blue()),
            qPrintable(QStringLiteral("line %1 is %2").arg(i).arg(ink.name())));
    }
}

void tst_PlotConvert::pdfPagesTurnToTheirPlots_data()
{
    QTest::addColumn<QByteArray>("plot");
    QTest::addColumn<QList<QSize>>("pageSizes");

    QTest::newRow("a wide page and a tall one")
        << QByteArray("IN;SP1;PA0,0;PD8000,0,8000,4000,0,4000,0,0;PU;PG;"
                      "SP2;PA0,0;PD3000,0,3000,6000,0,6000,0,0;PU;")
        << QList<QSize> { { 1191, 842 }, { 842, 1191 } };
    // PS names a tall page, but only the wide one holds the drawing.
    QTest::newRow("plot size swapped to hold the drawing")
        << QByteArray("IN;PS4000,8000;SP1;PA0,0;PD7900,0,7900,3900,0,3900,0,0;PU;")
        << QList<QSize> { { 1191, 842 } };
}

void tst_PlotConvert::pdfPagesTurnToTheirPlots()
{
    QFETCH(QByteArray, plot);
    QFETCH(QList<QSize>, pageSizes);
    if (const QString missing = PdfProbe::missingTools(); !missing.isEmpty())
        QSKIP(qPrintable(missing));
    const QString in = writePlot(QStringLiteral("pages.plt"), plot);
    QVERIFY(!in.isEmpty());
    const QString out = m_dir.filePath(QStringLiteral("pages.pdf"));
    const Run run = plotconvert({ QStringLiteral("--paper=A3"), in, out });
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    PdfProbe pdf;
    QString error;
    QVERIFY2(pdf.open(out, &error), qPrintable(error));
    QCOMPARE(pdf.title(), QStringLiteral("pages.plt"));
    QList<QSize> actual;
    for (int page = 0; page < pdf.pageCount(); ++page)
        actual << pdf.pageSize(page).toSize();
    QCOMPARE(actual, pageSizes);
}

void tst_PlotConvert::actualSizeOnSmallerPaper_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("tiled");

    QTest::newRow("PDF on A4, tiled")
        << QStringList { QStringLiteral("-a"), QStringLiteral("-p"), QStringLiteral("A4") }
        << QStringLiteral("a1.pdf") << true;
    QTest::newRow("PDF fitted, one sheet") << QStringList { QStringLiteral("-p"), QStringLiteral("A4") }
                                           << QStringLiteral("fitted.pdf") << false;
    QTest::newRow("PNG at actual size, one picture")
        << QStringList { QStringLiteral("-a") } << QStringLiteral("a1.png") << false;
}

void tst_PlotConvert::actualSizeOnSmallerPaper()
{
    QFETCH(QStringList, options);
    QFETCH(QString, name);
    QFETCH(bool, tiled);
    if (const QString missing = PdfProbe::missingTools(); !missing.isEmpty())
        QSKIP(qPrintable(missing));
    const QString out = m_dir.filePath(name);
    const Run run = plotconvert(options + QStringList { dataFile("a1-drawing.plt"), out });
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    if (name.endsWith(QLatin1String(".png"))) {
        QVERIFY(run.complaint().isEmpty());
        QVERIFY(inkedPixelCount(QImage(out)) > 500);
        return;
    }
    PdfProbe pdf;
    QString error;
    QVERIFY2(pdf.open(out, &error), qPrintable(error));
    if (!tiled) {
        QCOMPARE(pdf.pageCount(), 1);
        QVERIFY(run.complaint().isEmpty());
        return;
    }
    QSize grid;
    const QString labels = checkSheetLabels(pdf, 0, QStringLiteral("a1-drawing.plt"), &grid);
    QVERIFY2(labels.isEmpty(), qPrintable(labels));
    QCOMPARE(pdf.pageCount(), grid.width() * grid.height());
    // Said once, with the sheets it took.
    QCOMPARE(run.complaint(),
        QStringLiteral("plotconvert: warning: printed at actual size on %1 A4 sheets").arg(pdf.pageCount()));
}

void tst_PlotConvert::batch_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<QStringList>("failed");
    QTest::addColumn<QString>("summary");

    const QString landscape = dataFile("landscape.plt");
    const QString portrait = dataFile("portrait.plt");
    const QString missing = m_dir.filePath(QStringLiteral("missing.plt"));
    const QString empty = m_dir.filePath(QStringLiteral("empty.plt"));
    QFile(empty).open(QIODevice::WriteOnly);
    const QStringList pngs { QStringLiteral("landscape.png"), QStringLiteral("portrait.png") };
    QTest::newRow("all good, two at once")
        << QStringList { landscape, portrait } << QStringList { "-j", "2" } << 0 << pngs << QStringList {}
        << QStringLiteral("2 of 2 plots converted");
    QTest::newRow("PDF one at a time")
        << QStringList { landscape, portrait } << QStringList { "--format", "pdf", "-j", "1" } << 0
        << QStringList { QStringLiteral("landscape.pdf"), QStringLiteral("portrait.pdf") } << QStringList {}
        << QStringLiteral("2 of 2 plots converted");
    // The first failure in the order given sets the status; the good plots are still converted.
    QTest::newRow("bad plots do not stop the others")
        << QStringList { landscape, empty, missing, portrait } << QStringList {} << 65 << pngs
        << QStringList { empty, missing } << QStringLiteral("2 of 4 plots converted, 2 failed");
    QTest::newRow("same name twice") << QStringList { landscape, landscape } << QStringList {} << 73
                                     << QStringList { QStringLiteral("landscape.png") }
                                     << QStringList { landscape }
                                     << QStringLiteral("1 of 2 plots converted, 1 failed");
}

void tst_PlotConvert::batch()
{
    QFETCH(QStringList, inputs);
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QStringList, written);
    QFETCH(QStringList, failed);
    QFETCH(QString, summary);
    QTemporaryDir out;
    const QString folder = out.filePath(QStringLiteral("made/by/plotconvert"));
    const Run run = plotconvert(QStringList { QStringLiteral("-o"), folder } + options + inputs);
    QCOMPARE(run.exitCode, exitCode);
    QDir made(folder);
    QCOMPARE(made.entryList(QDir::Files, QDir::Name), written);
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), inputs.size() + 1); // one a plot, then the summary
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^converted "))).size(), written.size());
    for (const QString &input : failed)
        QCOMPARE(lines.filter(QStringLiteral("failed %1: ").arg(input)).size(), 1);
    QCOMPARE(lines.last(), QStringLiteral("plotconvert: ") + summary);
}

QString tst_PlotConvert::writePlot(const QString &name, const QByteArray &content)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return {};
    return path;
}

QTEST_GUILESS_MAIN(tst_PlotConvert)
#include "tst_plotconvert.moc"
