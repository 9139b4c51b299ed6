// Pen widths and colours as the device has them: PT for HP-GL/1 pens, the user's table of loaded
// pens, and what the plot itself says (PW, WU, PC), which always wins. A board drawn the way EDA
// programs plot it must come out at its true size.

#include "PlotTestSupport.h"

#include "plotviewer/render/PlotPicture.h"

#include <QTest>

using namespace plotviewer;

namespace {

hpgl::LoadedPens tableOf(const QStringList &lines)
{
    hpgl::LoadedPens pens;
    for (const QString &line : lines) {
        const std::string why = pens.readLine(line.toStdString());
        if (!why.empty())
            qFatal("table line \"%s\" not taken: %s", qPrintable(line), why.c_str());
    }
    return pens;
}

const StrokeStyle *firstStrokeStyle(const InterpretResult &result)
{
    if (result.plot.pages.empty() || result.plot.pages.front().strokeStyles.empty())
        return nullptr;
    return &result.plot.pages.front().strokeStyles.front();
}

QString colourText(Rgb colour)
{
    return QStringLiteral("%1,%2,%3").arg(colour.r).arg(colour.g).arg(colour.b);
}

// Inked pixels along the column or row through `at` of a picture drawn at one pixel per plot unit.
int inkRun(const QImage &picture, QPoint at, bool vertical)
{
    int run = 0;
    const int length = vertical ? picture.height() : picture.width();
    for (int i = 0; i < length; ++i) {
        const QPoint p = vertical ? QPoint(at.x(), i) : QPoint(i, at.y());
        run += qGray(picture.pixel(p)) < 128;
    }
    return run;
}

} // namespace

class tst_Pens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tableLines_data();
    void tableLines();
    void widthAndColour_data();
    void widthAndColour();
    void boardAtTrueSize_data();
    void boardAtTrueSize();
};

void tst_Pens::tableLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("error"); // the start of why the line is skipped; empty when taken

    QTest::newRow("width and colour") << "1=0.25 #000000" << QString();
    QTest::newRow("width alone") << "2=0.5" << QString();
    QTest::newRow("colour alone, upper case") << "3=#FF8000" << QString();
    QTest::newRow("blanks around everything") << "  4 =\t0.18   #00ff00 " << QString();
    QTest::newRow("width 0, the thinnest line") << "5=0" << QString();
    QTest::newRow("highest pen") << "1023=1" << QString();

    QTest::newRow("no equals sign") << "1 0.25"
                                    << "expected N=width-in-mm #rrggbb";
    QTest::newRow("nothing after the equals sign") << "1="
                                                   << "expected a width in mm";
    QTest::newRow("pen number not a number") << "one=0.25"
                                             << "the pen number must be";
    QTest::newRow("pen number past the palette") << "1024=0.25"
                                                 << "the pen number must be";
    QTest::newRow("negative pen") << "-1=0.25"
                                  << "the pen number must be";
    QTest::newRow("decimal comma") << "1=0,25"
                                   << "the width \"0,25\" is not a number";
    QTest::newRow("width with a unit") << "1=0.25mm"
                                       << "the width \"0.25mm\"";
    QTest::newRow("negative width") << "1=-0.25"
                                    << "the width \"-0.25\"";
    QTest::newRow("absurd width") << "1=250"
                                  << "the width \"250\"";
    QTest::newRow("colour name") << "1=0.25 red"
                                 << "expected one width and one colour at most";
    QTest::newRow("colour name alone") << "1=red"
                                       << "the width \"red\"";
    QTest::newRow("short colour") << "1=#fff"
                                  << "the colour \"#fff\"";
    QTest::newRow("colour not hexadecimal") << "1=#00gg00"
                                            << "the colour \"#00gg00\"";
    QTest::newRow("two widths") << "1=0.25 0.3"
                                << "expected one width";
    QTest::newRow("colour before width") << "1=#000000 0.25"
                                         << "nothing may follow the colour";
}

void tst_Pens::tableLines()
{
    QFETCH(QString, line);
    QFETCH(QString, error);
    hpgl::LoadedPens pens;
    const QString why = QString::fromStdString(pens.readLine(line.toStdString()));
    QVERIFY2(why.startsWith(error) && why.isEmpty() == error.isEmpty(), qPrintable(why));
    QCOMPARE(pens.empty(), !error.isEmpty());
    // A pen already given keeps its first line, as the first key of a settings file wins.
    if (error.isEmpty())
        QVERIFY(!pens.readLine(line.toStdString()).empty());
}

void tst_Pens::widthAndColour_data()
{
    QTest::addColumn<QStringList>("table");
    QTest::addColumn<QByteArray>("plot");
    QTest::addColumn<double>("width"); // plot units, 40 to the millimetre
    QTest::addColumn<QString>("colour");

    const QStringList none;
    const QStringList table { "1=0.18 #102030", "2=0.5", "3=#ff8000" };
    // HP-GL/1 pens: PT says how thick they are.
    QTest::newRow("default pen") << none << QByteArray("IN;SP1;PD10,10;") << 14.0 << "0,0,0";
    QTest::newRow("PT") << none << QByteArray("IN;PT0.1;SP1;PD10,10;") << 4.0 << "0,0,0";
    QTest::newRow("PT for every pen") << none << QByteArray("IN;PT0.1;SP5;PD10,10;") << 4.0 << "0,0,255";
    QTest::newRow("PT; forgets it") << none << QByteArray("IN;PT0.1;PT;SP1;PD10,10;") << 14.0 << "0,0,0";
    QTest::newRow("PT out of range is ignored")
        << none << QByteArray("IN;PT0.1;PT9;PT0;SP1;PD10,10;") << 4.0 << "0,0,0";
    QTest::newRow("IN forgets PT") << none << QByteArray("PT0.1;IN;SP1;PD10,10;") << 14.0 << "0,0,0";
    QTest::newRow("DF forgets PT") << none << QByteArray("PT0.1;DF;SP1;PD10,10;") << 14.0 << "0,0,0";
    QTest::newRow("PT changes the width mid line")
        << none << QByteArray("IN;SP1;PD10,10;PT0.2;PD20,20;") << 14.0 << "0,0,0";
    // PW always wins.
    QTest::newRow("PW after PT") << none << QByteArray("IN;PT0.1;PW0.5;SP1;PD10,10;") << 20.0 << "0,0,0";
    QTest::newRow("PT after PW") << none << QByteArray("IN;PW0.5;PT0.1;SP1;PD10,10;") << 20.0 << "0,0,0";
    QTest::newRow("PT reaches the pens PW left out")
        << none << QByteArray("IN;PW0.5,1;PT0.1;SP2;PD10,10;") << 4.0 << "255,0,0";
    QTest::newRow("PW0 after PT") << none << QByteArray("IN;PT0.1;PW0;SP1;PD10,10;") << 0.0 << "0,0,0";
    // The latest PW wins, whether for one pen or for all.
    QTest::newRow("PW for one pen after PW for all")
        << none << QByteArray("IN;PW0.5;PW0.25,1;SP1;PD10,10;") << 10.0 << "0,0,0";
    QTest::newRow("PW for all after PW for one pen")
        << none << QByteArray("IN;PW0.25,2;PW0.5;SP2;PD10,10;") << 20.0 << "255,0,0";
    QTest::newRow("PW for all leaves the other pens as they were")
        << none << QByteArray("IN;PW0.5;PW0.25,1;PW0.75;PW0.3,2;SP1;PD10,10;") << 30.0 << "0,0,0";
    QTest::newRow("IN forgets a pen's own PW")
        << none << QByteArray("PW0.25,1;IN;SP1;PD10,10;") << 14.0 << "0,0,0";
    // Outside HP-GL/1 files: WU states every pen's width; a PCL job's HP-GL/2 without PW takes PT.
    QTest::newRow("PT after WU") << none << QByteArray("BPIN;WU0;PT0.1;SP1;PD10,10;") << 14.0 << "0,0,0";
    QTest::newRow("PT after relative WU")
        << none << QByteArray("BPIN;IP0,0,3000,4000;WU1;PT0.1;SP1;PD10,10;") << 5.0 << "0,0,0";
    QTest::newRow("PT in a PCL job's HP-GL/2") << none
                                               << QByteArray("\x1b"
                                                             "E\x1b%0BIN;PT0.1;SP1;PD10,10;")
                                               << 4.0 << "0,0,0";
    QTest::newRow("PT after a PCL job's PW") << none
                                             << QByteArray("\x1b"
                                                           "E\x1b%0BIN;PW0.25;PT0.1;SP1;PD10,10;")
                                             << 10.0 << "0,0,0";

    // The loaded pens stand in for the plot's silence; the plot's own PT, PW and PC win.
    QTest::newRow("table width and colour") << table << QByteArray("IN;SP1;PD10,10;") << 7.2 << "16,32,48";
    QTest::newRow("table width keeps the palette colour")
        << table << QByteArray("IN;SP2;PD10,10;") << 20.0 << "255,0,0";
    QTest::newRow("table colour keeps the default width")
        << table << QByteArray("IN;SP3;PD10,10;") << 14.0 << "255,128,0";
    QTest::newRow("pen not in the table") << table << QByteArray("IN;SP5;PD10,10;") << 14.0 << "0,0,255";
    QTest::newRow("PT over the table") << table << QByteArray("IN;PT0.1;SP2;PD10,10;") << 4.0 << "255,0,0";
    QTest::newRow("PW over the table")
        << table << QByteArray("IN;PW0.7,1;SP1;PD10,10;") << 28.0 << "16,32,48";
    QTest::newRow("PW; restores the table's width")
        << table << QByteArray("IN;PW0.7;PW;SP1;PD10,10;") << 7.2 << "16,32,48";
    QTest::newRow("PW; after a pen's own PW restores the table's width")
        << table << QByteArray("IN;PW0.7,1;PW;SP1;PD10,10;") << 7.2 << "16,32,48";
    QTest::newRow("WU0 restores the table's width")
        << table << QByteArray("IN;PW0.7;WU0;SP2;PD10,10;") << 20.0 << "255,0,0";
    QTest::newRow("IN restores the table")
        << table << QByteArray("PW0.7;PC1,1,2,3;IN;SP1;PD10,10;") << 7.2 << "16,32,48";
    QTest::newRow("PC over the table") << table << QByteArray("IN;PC1,1,2,3;SP1;PD10,10;") << 7.2 << "1,2,3";
    QTest::newRow("PC for one pen restores the table's colour")
        << table << QByteArray("IN;PC1,1,2,3;PC1;SP1;PD10,10;") << 7.2 << "16,32,48";
    QTest::newRow("PC; restores the table's colours")
        << table << QByteArray("IN;PC3,1,2,3;PC;SP3;PD10,10;") << 14.0 << "255,128,0";
}

void tst_Pens::widthAndColour()
{
    QFETCH(QStringList, table);
    QFETCH(QByteArray, plot);
    QFETCH(double, width);
    QFETCH(QString, colour);
    const InterpretResult result = interpretPlot(plottest::view(plot), tableOf(table));
    QVERIFY2(result.error.empty(), result.error.c_str());
    const StrokeStyle *style = firstStrokeStyle(result);
    QVERIFY(style);
    QVERIFY2(std::abs(style->width - width) < 1e-9, qPrintable(QString::number(style->width)));
    QCOMPARE(colourText(style->colour), colour);
}

void tst_Pens::boardAtTrueSize_data()
{
    QTest::addColumn<QByteArray>("pen");
    QTest::addColumn<QStringList>("table");
    QTest::newRow("PT") << QByteArray("PT0.1;") << QStringList();
    // The table cannot widen a pen the plot states; without PT it says how wide the pen is.
    QTest::newRow("PT over a wide table pen") << QByteArray("PT0.1;") << QStringList { "1=0.6" };
    QTest::newRow("table pen as wide as the plot's") << QByteArray() << QStringList { "1=0.1" };
}

void tst_Pens::boardAtTrueSize()
{
    QFETCH(QByteArray, pen);
    QFETCH(QStringList, table);
    // As EDA programs plot copper: every track and pad is a polygon shrunk by half the pen's
    // width, filled and then edged with the pen, which brings it back to its true size. Two tracks
    // 0.5 mm (20 units) wide and 0.3 mm (12 units) apart, y 100 to 120 and 132 to 152, and a round
    // pad 2 mm (80 units) across at (300, 300); the pen is 0.1 mm (4 units).
    const QByteArray board = "IN;SP1;" + pen
        + "PU;PA100,102;PM0;PD500,102,500,118,100,118,100,102;PM2;FP;EP;"
          "PU;PA100,134;PM0;PD500,134,500,150,100,150,100,134;PM2;FP;EP;"
          "PU;PA300,300;PM0;CI38;PM2;FP;EP;PU;";
    const InterpretResult result = interpretPlot(plottest::view(board), tableOf(table));
    QVERIFY2(result.error.empty(), result.error.c_str());
    Page page = result.plot.pages.front();
    page.frame = { 0, 0, 600, 400 };
    const QImage picture = renderPlotPicture(page, QSize(600, 400), RenderOptions {});
    QCOMPARE(picture.size(), QSize(600, 400));
    // Pixel rows count down from y 400.
    const auto near = [](int measured, int expected) { return std::abs(measured - expected) <= 1; };
    QVERIFY2(near(inkRun(picture, QPoint(200, 0), true), 40), "two tracks, each 20 wide");
    QCOMPARE(inkRun(picture, QPoint(0, 400 - 126), false), 0); // the gap between the tracks
    QVERIFY2(near(inkRun(picture, QPoint(0, 100), false), 80), "the pad across");
    QVERIFY2(near(inkRun(picture, QPoint(300, 0), true), 120), "the pad and the tracks below it");
}

QTEST_MAIN(tst_Pens)
#include "tst_pens.moc"
