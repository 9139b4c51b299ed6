// Interpreter rows: what small plots draw, in plotter units.

#include "PlotTestSupport.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <random>

using namespace plotviewer;
using plottest::firstPage;
using plottest::interpret;
using plottest::pathText;
using plottest::strokes;

namespace {

// "r,g,b", with " at n%" for a tinted colour.
QString styleText(Rgb colour, double tint)
{
    const QString text = QStringLiteral("%1,%2,%3").arg(colour.r).arg(colour.g).arg(colour.b);
    return tint == 100 ? text : text + QStringLiteral(" at %1%").arg(tint);
}

QString textOf(const TextRun &run)
{
    return QString::fromUcs4(run.text.data(), qsizetype(run.text.size()));
}

} // namespace

class tst_PlotInterpreter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lastPoint_data();
    void lastPoint();
    void strokeShape_data();
    void strokeShape();
    void circleUnderAnisotropicScaling();
    void polygonFillRule_data();
    void polygonFillRule();
    void edgeDrawsOnlyPenDownEdges_data();
    void edgeDrawsOnlyPenDownEdges();
    void labelPlacement_data();
    void labelPlacement();
    void labelLines();
    void labelFlow_data();
    void labelFlow();
    void colours_data();
    void colours();
    void fillColours_data();
    void fillColours();
    void pages_data();
    void pages();
    void failures_data();
    void failures();
    void robustness_data();
    void robustness();
    void tooLargeIsReported();
};

// The last point drawn: transforms, arcs and pen movement.
void tst_PlotInterpreter::lastPoint_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("absolute by default")
        << QByteArray("SP1;PU100,100;PD200,100,200,200;") << QStringLiteral("200,200");
    QTest::newRow("relative moves") << QByteArray("SP1;PA100,100;PR;PD10,0,0,-20")
                                    << QStringLiteral("110,80");
    QTest::newRow("SC anisotropic") << QByteArray("SP1;IP0,0,1000,2000;SC0,10,0,10;PA0,0;PD10,10")
                                    << QStringLiteral("1000,2000");
    QTest::newRow("SC isotropic centred")
        << QByteArray("SP1;IP0,0,2000,1000;SC0,10,0,10,1;PA0,0;PD10,10") << QStringLiteral("1500,1000");
    QTest::newRow("SC isotropic left")
        << QByteArray("SP1;IP0,0,2000,1000;SC0,10,0,10,1,0,0;PA10,10;PD0,0") << QStringLiteral("0,0");
    QTest::newRow("SC point factor") << QByteArray("SP1;IP100,100,500,500;SC0,2,0,3,2;PA0,0;PD10,10")
                                     << QStringLiteral("120,130");
    QTest::newRow("SC mirrored X") << QByteArray("SP1;IP0,0,1000,1000;SC10,0,0,10;PA10,0;PD0,0")
                                   << QStringLiteral("1000,0");
    QTest::newRow("relative move after SC uses factors only")
        << QByteArray("SP1;IP0,0,1000,1000;SC5,15,0,10;PA5,0;PR;PD2,1") << QStringLiteral("200,100");
    QTest::newRow("IP with two values keeps P2-P1")
        << QByteArray("SP1;IP0,0,1000,1000;IP100,100;SC0,10,0,10;PA0,0;PD10,10")
        << QStringLiteral("1100,1100");
    QTest::newRow("SC off again") << QByteArray("SP1;IP0,0,1000,1000;SC0,10,0,10;SC;PA0,0;PD10,10")
                                  << QStringLiteral("10,10");
    QTest::newRow("pen keeps its place when SC changes")
        << QByteArray("SP1;IP0,0,1000,1000;PA500,500;SC0,10,0,10;PR;PD1,0") << QStringLiteral("600,500");
    QTest::newRow("RO90 shifts into the frame")
        << QByteArray("PS4000,2000;SP1;PA0,0;PD10,0;PU;RO90;PA0,0;PD100,0;") << QStringLiteral("4000,100");
    QTest::newRow("RO90 then IP;") << QByteArray(
        "PS4000,2000;SP1;PA0,0;PD1,0;PU;RO90;IP;SC0,1,0,1;PA0,0;PD0.5,0.5")
                                   << QStringLiteral("2000,1000");
    QTest::newRow("RO90 keeps P1 and P2")
        << QByteArray("PS4000,2000;SP1;PA0,0;PD1,0;PU;RO90;SC0,1,0,1;PA0,0;PD0.25,0.5")
        << QStringLiteral("3000,1000");
    QTest::newRow("PS then IP;") << QByteArray("IN;PS8000,4000;IP;SC0,1,0,1;SP1;PA0,0;PD0.5,0.5")
                                 << QStringLiteral("4000,2000");
    QTest::newRow("AA counter-clockwise") << QByteArray("SP1;PA100,0;PD;AA0,0,90") << QStringLiteral("0,100");
    QTest::newRow("AA clockwise") << QByteArray("SP1;PA100,0;PD;AA0,0,-90") << QStringLiteral("0,-100");
    QTest::newRow("AR half turn") << QByteArray("SP1;PA100,0;PD;AR-100,0,180") << QStringLiteral("-100,0");
    QTest::newRow("AA beyond a full turn ends right")
        << QByteArray("SP1;PA100,0;PD;AA0,0,450") << QStringLiteral("0,100");
    QTest::newRow("AA in mirrored user space")
        << QByteArray("SP1;IP0,0,1000,1000;SC10,0,0,10;PA9,5;PD;AA5,5,90") << QStringLiteral("500,900");
    QTest::newRow("AT through three points")
        << QByteArray("SP1;PA0,0;PD;AT100,100,200,0") << QStringLiteral("200,0");
    QTest::newRow("AT collinear draws a line")
        << QByteArray("SP1;PA0,0;PD;AT50,0,100,0") << QStringLiteral("100,0");
    QTest::newRow("RT relative") << QByteArray("SP1;PA100,100;PD;RT50,50,100,0") << QStringLiteral("200,100");
    QTest::newRow("BZ ends at its last point")
        << QByteArray("SP1;PA0,0;PD;BZ0,100,100,100,100,0") << QStringLiteral("100,0");
    QTest::newRow("BR relative to the curve start")
        << QByteArray("SP1;PA10,10;PD;BR0,100,100,100,100,0,0,-10,10,-10,10,0") << QStringLiteral("120,10");
    QTest::newRow("PE then PA restored") << QByteArray("SP1;PA10,10;PE7GeDb;PD5,5") << QStringLiteral("5,5");
    QTest::newRow("PE absolute pen-up then down")
        << QByteArray("SP1;PE7<=O]`?\\bGeDb;") << QStringLiteral("1100,1950");
    QTest::newRow("PM2 returns to the start")
        << QByteArray("SP1;PA100,100;PM0;PD200,100,200,200;PM2;PR;PD10,0") << QStringLiteral("110,100");
}

void tst_PlotInterpreter::lastPoint()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, expected);
    const InterpretResult result = interpret(input);
    QVERIFY2(result.error.empty(), result.error.c_str());
    const auto paths = strokes(result);
    QVERIFY(!paths.empty());
    QCOMPARE(plottest::pointText(paths.back().back()), expected);
}

// Whole stroke output: chords, line types, clipping.
void tst_PlotInterpreter::strokeShape_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("AA chord angle") << QByteArray("SP1;PA100,0;PD;AA0,0,90,45")
                                    << QStringList { QStringLiteral("100,0 70.71,70.71 0,100") };
    QTest::newRow("PD;PU; leaves a dot")
        << QByteArray("SP1;PA50,60;PD;PU;") << QStringList { QStringLiteral("50,60") };
    QTest::newRow("fixed dashes") << QByteArray("SP1;LT2,20,1;PA0,0;PD1600,0")
                                  << QStringList { QStringLiteral("0,0 400,0"),
                                         QStringLiteral("800,0 1200,0") };
    QTest::newRow("fixed pattern carries over a pen-up move")
        << QByteArray("SP1;LT2,20,1;PA0,0;PD600,0;PU0,100;PD600,100")
        << QStringList { QStringLiteral("0,0 400,0"), QStringLiteral("200,100 600,100") };
    QTest::newRow("dash turns a corner") << QByteArray("SP1;LT2,20,1;PA0,0;PD300,0,300,300")
                                         << QStringList { QStringLiteral("0,0 300,0 300,100") };
    QTest::newRow("adaptive pattern fits the vector")
        << QByteArray("SP1;LT-2,20,1;PA0,0;PD1600,0")
        << QStringList { QStringLiteral("0,0 200,0"), QStringLiteral("600,0 1000,0"),
               QStringLiteral("1400,0 1600,0") };
    QTest::newRow("LT0 dots the end points")
        << QByteArray("SP1;LT0;PA0,0;PD100,0,100,100")
        << QStringList { QStringLiteral("0,0"), QStringLiteral("100,0"), QStringLiteral("100,100") };
    QTest::newRow("LT; solid again") << QByteArray("SP1;LT2,20,1;LT;PA0,0;PD1600,0")
                                     << QStringList { QStringLiteral("0,0 1600,0") };
    QTest::newRow("IW clips") << QByteArray("SP1;IW0,0,100,100;PA-50,50;PD150,50")
                              << QStringList { QStringLiteral("0,50 100,50") };
    QTest::newRow("IW with reversed corners")
        << QByteArray("SP1;IW100,100,0,0;PA50,-50;PD50,150") << QStringList { QStringLiteral("50,0 50,100") };
    QTest::newRow("PS hard clip") << QByteArray("PS1000,500;SP1;PA-100,250;PD1200,250")
                                  << QStringList { QStringLiteral("0,250 1000,250") };
    QTest::newRow("EW full circle has no radii") << QByteArray(
        "SP1;PA0,0;EW100,0,360,90") << QStringList { QStringLiteral("100,0 0,100 -100,0 0,-100 100,0") };
    QTest::newRow("EW quarter wedge")
        << QByteArray("SP1;PA0,0;EW100,0,90,90") << QStringList { QStringLiteral("0,0 100,0 0,100 0,0") };
    QTest::newRow("ticks") << QByteArray("SP1;IP0,0,1000,1000;TL10,5;PA100,100;XT;YT")
                           << QStringList { QStringLiteral("100,50 100,200"),
                                  QStringLiteral("50,100 200,100") };
    QTest::newRow("PE pen select splits the stroke")
        << QByteArray("SP1;PA0,0;PE7GeDb:c_Wq;")
        << QStringList { QStringLiteral("0,0 100,-50"), QStringLiteral("100,-50 100,250") };
}

void tst_PlotInterpreter::strokeShape()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, expected);
    const InterpretResult result = interpret(input);
    QVERIFY2(result.error.empty(), result.error.c_str());
    QStringList actual;
    for (const auto &path : strokes(result))
        actual << pathText(path);
    QCOMPARE(actual, expected);
}

void tst_PlotInterpreter::circleUnderAnisotropicScaling()
{
    const InterpretResult result = interpret("SP1;PW0;IP0,0,2000,1000;SC0,10,0,10;PA5,5;CI1;PD;PU");
    const auto paths = strokes(result);
    QCOMPARE(paths.size(), std::size_t(2)); // the circle, then the dot at its centre
    Rect box { 1e9, 1e9, -1e9, -1e9 };
    for (const Point &p : paths.front()) {
        box = { std::min(box.left, p.x), std::min(box.bottom, p.y), std::max(box.right, p.x),
            std::max(box.top, p.y) };
    }
    QCOMPARE(box.left, 800.0);
    QCOMPARE(box.right, 1200.0);
    QCOMPARE(box.bottom, 400.0);
    QCOMPARE(box.top, 600.0);
    QCOMPARE(plottest::pointText(paths.back().front()), QStringLiteral("1000,500"));
}

void tst_PlotInterpreter::polygonFillRule_data()
{
    QTest::addColumn<QByteArray>("fill");
    QTest::addColumn<int>("rule");

    QTest::newRow("FP even-odd") << QByteArray("FP;") << int(FillRule::EvenOdd);
    QTest::newRow("FP0 even-odd") << QByteArray("FP0;") << int(FillRule::EvenOdd);
    QTest::newRow("FP1 non-zero") << QByteArray("FP1;") << int(FillRule::NonZero);
}

void tst_PlotInterpreter::polygonFillRule()
{
    QFETCH(QByteArray, fill);
    QFETCH(int, rule);
    // A square with a square hole, as two subpolygons.
    const InterpretResult result = interpret("SP1;PA0,0;PM0;PD100,0,100,100,0,100,0,0;PM1;PU25,25;"
                                             "PD75,25,75,75,25,75,25,25;PM2;"
        + fill);
    const Page &page = firstPage(result);
    QCOMPARE(page.items.size(), std::size_t(1));
    QCOMPARE(page.items[0].kind, ItemKind::Fill);
    QCOMPARE(page.items[0].pathCount, 2u);
    QCOMPARE(int(page.fillStyles[page.items[0].style].rule), rule);
    QCOMPARE(page.inkBounds.right, 100.0);
    QCOMPARE(page.inkBounds.top, 100.0);
}

void tst_PlotInterpreter::edgeDrawsOnlyPenDownEdges_data()
{
    QTest::addColumn<QByteArray>("polygon");
    QTest::addColumn<QStringList>("edges");

    QTest::newRow("pen-up edge skipped, closed with the pen down")
        << QByteArray("PM0;PD100,0;PU100,100;PD0,100;PM2;")
        << QStringList { QStringLiteral("0,0 100,0"), QStringLiteral("100,100 0,100 0,0") };
    QTest::newRow("closed with the pen up")
        << QByteArray("PM0;PD100,0,100,100;PU;PM2;") << QStringList { QStringLiteral("0,0 100,0 100,100") };
    QTest::newRow("PM1 with the pen up, then a subpolygon closed down")
        << QByteArray("PM0;PD100,0,100,100;PU;PM1;PU0,200;PD100,200,100,300;PM2;")
        << QStringList { QStringLiteral("0,0 100,0 100,100"), QStringLiteral("0,200 100,200 100,300 0,200") };
}

void tst_PlotInterpreter::edgeDrawsOnlyPenDownEdges()
{
    QFETCH(QByteArray, polygon);
    QFETCH(QStringList, edges);
    const InterpretResult result = interpret("SP1;PA0,0;" + polygon + "EP;FP;");
    QStringList actual;
    for (const auto &path : strokes(result))
        actual << pathText(path);
    QCOMPARE(actual, edges);
    const Page &page = firstPage(result);
    QCOMPARE(page.items.back().kind, ItemKind::Fill);
}

// Label origin, size and direction. SI0.2,0.3: body 80, cell 120, cap height 120 plotter units.
void tst_PlotInterpreter::labelPlacement_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("origin");
    QTest::addColumn<QString>("advance");
    QTest::addColumn<QString>("up");

    const QByteArray si("SP1;SI0.2,0.3;PA1000,1000;");
    QTest::newRow("LO1") << si + "LBAB\x03" << QStringLiteral("1000,1000") << QStringLiteral("120,0")
                         << QStringLiteral("0,120");
    QTest::newRow("LO3") << si + "LO3;LBAB\x03" << QStringLiteral("1000,880") << QStringLiteral("120,0")
                         << QStringLiteral("0,120");
    QTest::newRow("LO4") << si + "LO4;LBAB\x03" << QStringLiteral("900,1000") << QStringLiteral("120,0")
                         << QStringLiteral("0,120");
    QTest::newRow("LO5") << si + "LO5;LBAB\x03" << QStringLiteral("900,940") << QStringLiteral("120,0")
                         << QStringLiteral("0,120");
    QTest::newRow("LO7") << si + "LO7;LBAB\x03" << QStringLiteral("800,1000") << QStringLiteral("120,0")
                         << QStringLiteral("0,120");
    QTest::newRow("LO11") << si + "LO11;LBAB\x03" << QStringLiteral("1060,1060") << QStringLiteral("120,0")
                          << QStringLiteral("0,120");
    QTest::newRow("LO19") << si + "LO19;LBAB\x03" << QStringLiteral("740,820") << QStringLiteral("120,0")
                          << QStringLiteral("0,120");
    QTest::newRow("LO21 as LO1") << si + "LO21;LBAB\x03" << QStringLiteral("1000,1000")
                                 << QStringLiteral("120,0") << QStringLiteral("0,120");
    QTest::newRow("DI up") << si + "DI0,1;LBAB\x03" << QStringLiteral("1000,1000") << QStringLiteral("0,120")
                           << QStringLiteral("-120,0");
    QTest::newRow("SL slant") << si + "SL0.5;LBAB\x03" << QStringLiteral("1000,1000")
                              << QStringLiteral("120,0") << QStringLiteral("60,120");
    QTest::newRow("ES extra space") << si + "ES0.5;LBAB\x03" << QStringLiteral("1000,1000")
                                    << QStringLiteral("180,0") << QStringLiteral("0,120");
    QTest::newRow("SR follows P1 P2")
        << QByteArray("SP1;IP0,0,10000,10000;SR1,2;PA1000,1000;LBAB\x03") << QStringLiteral("1000,1000")
        << QStringLiteral("150,0") << QStringLiteral("0,200");
    QTest::newRow("default stick font")
        << QByteArray("SP1;PA1000,1000;LBAB\x03") << QStringLiteral("1000,1000") << QStringLiteral("112.89,0")
        << QStringLiteral("0,108.19");
    QTest::newRow("proportional font grows with its height")
        << QByteArray("SP1;SD2,1,4,23;PA1000,1000;LBAB\x03") << QStringLiteral("1000,1000")
        << QStringLiteral("225.78,0") << QStringLiteral("0,216.37");
    QTest::newRow("DV1 with LO1 ends at the point") << si + "DV1;LBAB\x03" << QStringLiteral("1000,1240")
                                                    << QStringLiteral("0,-240") << QStringLiteral("0,120");
    QTest::newRow("DV1 with LO3 starts at the point") << si + "DV1;LO3;LBAB\x03" << QStringLiteral("1000,880")
                                                      << QStringLiteral("0,-240") << QStringLiteral("0,120");
    QTest::newRow("DV1 with LO5 centred") << si + "DV1;LO5;LBAB\x03" << QStringLiteral("960,1060")
                                          << QStringLiteral("0,-240") << QStringLiteral("0,120");
    QTest::newRow("DV2 with LO7 starts at the point") << si + "DV2;LO7;LBAB\x03" << QStringLiteral("920,1000")
                                                      << QStringLiteral("-120,0") << QStringLiteral("0,120");
    QTest::newRow("DV3 with LO1 starts at the point") << si + "DV3;LBAB\x03" << QStringLiteral("1000,1000")
                                                      << QStringLiteral("0,240") << QStringLiteral("0,120");
}

void tst_PlotInterpreter::labelPlacement()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, origin);
    QFETCH(QString, advance);
    QFETCH(QString, up);
    const InterpretResult result = interpret(input);
    QVERIFY2(result.error.empty(), result.error.c_str());
    const Page &page = firstPage(result);
    QCOMPARE(page.texts.size(), std::size_t(1));
    const TextRun &run = page.texts.front();
    QCOMPARE(textOf(run), QStringLiteral("AB"));
    QCOMPARE(plottest::pointText(run.origin), origin);
    QCOMPARE(plottest::pointText(run.advance), advance);
    QCOMPARE(plottest::pointText(run.up), up);
}

void tst_PlotInterpreter::labelLines()
{
    // CR LF starts a new line 2 cap heights down; the next label goes on after the last character;
    // DT mode 0 prints its terminator; Roman-8 maps the upper half.
    const InterpretResult result = interpret("SP1;SI0.2,0.3;PA1000,1000;LBAB\r\nC\x03LBD\x03"
                                             "DT#,0;LB\xb3#");
    const Page &page = firstPage(result);
    QCOMPARE(page.texts.size(), std::size_t(4));
    QCOMPARE(textOf(page.texts[0]), QStringLiteral("AB"));
    QCOMPARE(textOf(page.texts[1]), QStringLiteral("C"));
    QCOMPARE(plottest::pointText(page.texts[1].origin), QStringLiteral("1000,760"));
    QCOMPARE(plottest::pointText(page.texts[2].origin), QStringLiteral("1120,760"));
    QCOMPARE(textOf(page.texts[3]), QStringLiteral("\u00b0#"));
}

// Where successive labels and lines start: text paths, line feeds and whether a label runs on.
void tst_PlotInterpreter::labelFlow_data()
{
    QTest::addColumn<QByteArray>("labels");
    QTest::addColumn<QStringList>("origins");

    QTest::newRow("DV1 line feed starts a column to the left")
        << QByteArray("DV1;LBAB\n\r\x03LBCD\n\x03LBEF\x03")
        << QStringList { QStringLiteral("1000,1240"), QStringLiteral("880,1240"),
               QStringLiteral("760,1240") };
    QTest::newRow("DV1 with LO3 runs on down the column") << QByteArray(
        "DV1;LO3;LBAB\x03LBC\x03") << QStringList { QStringLiteral("1000,880"), QStringLiteral("1000,400") };
    QTest::newRow("DV3 line feed starts a column to the right") << QByteArray(
        "DV3;LBAB\r\nCD\x03") << QStringList { QStringLiteral("1000,1000"), QStringLiteral("1120,1000") };
    QTest::newRow("DV2 line feed goes up") << QByteArray(
        "DV2;LO7;LBAB\r\nCD\x03") << QStringList { QStringLiteral("920,1000"), QStringLiteral("920,1240") };
    QTest::newRow("reverse line feed") << QByteArray(
        "DV0,1;LBAB\r\nCD\x03") << QStringList { QStringLiteral("1000,1000"), QStringLiteral("1000,1240") };
    QTest::newRow("centred lines sent one label each")
        << QByteArray("LO4;LBAB\r\n\x03LBCD\r\n\x03")
        << QStringList { QStringLiteral("900,1000"), QStringLiteral("900,760") };
    QTest::newRow("centred line measured in both fonts") << QByteArray(
        "SI;SD2,1,4,11.5;AD2,1,4,23;LO4;LBA\x0e"
        "B\x0f\x03") << QStringList { QStringLiteral("868.3,1000"), QStringLiteral("981.19,1000") };
    QTest::newRow("label that does not run on returns") << QByteArray(
        "LO4;LBAB\x03LBCD\x03") << QStringList { QStringLiteral("900,1000"), QStringLiteral("900,1000") };
}

void tst_PlotInterpreter::labelFlow()
{
    QFETCH(QByteArray, labels);
    QFETCH(QStringList, origins);
    const InterpretResult result = interpret("SP1;SI0.2,0.3;PA1000,1000;" + labels);
    QStringList actual;
    for (const TextRun &run : firstPage(result).texts)
        actual << plottest::pointText(run.origin);
    QCOMPARE(actual, origins);
}

void tst_PlotInterpreter::colours_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("strokeCount");
    QTest::addColumn<QString>("colour");

    QTest::newRow("default palette") << QByteArray("SP2;PD10,10;") << 1 << QStringLiteral("255,0,0");
    QTest::newRow("PC redefines") << QByteArray("PC3,10,20,30;SP3;PD10,10;") << 1
                                  << QStringLiteral("10,20,30");
    QTest::newRow("CR range") << QByteArray("CR0,100,0,100,0,100;PC1,50,100,0;SP1;PD10,10;") << 1
                              << QStringLiteral("128,255,0");
    QTest::newRow("pen above the palette wraps")
        << QByteArray("SP9;PD10,10;") << 1 << QStringLiteral("255,0,0");
    QTest::newRow("white pen is not drawn") << QByteArray("SP0;PD10,10;") << 0 << QString();
    QTest::newRow("white pen drawn with TR0")
        << QByteArray("TR0;SP0;PD10,10;") << 1 << QStringLiteral("255,255,255");
    QTest::newRow("redefined pen 0 is drawn")
        << QByteArray("PC0,0,0,255;SP0;PD10,10;") << 1 << QStringLiteral("0,0,255");
    QTest::newRow("SV shading lightens lines")
        << QByteArray("SV1,50;SP5;PD10,10;") << 1 << QStringLiteral("0,0,255 at 50%");
    QTest::newRow("no pen selected uses pen 1") << QByteArray("PD10,10;") << 1 << QStringLiteral("0,0,0");
}

void tst_PlotInterpreter::colours()
{
    QFETCH(QByteArray, input);
    QFETCH(int, strokeCount);
    QFETCH(QString, colour);
    const InterpretResult result = interpret(input);
    QCOMPARE(int(strokes(result).size()), strokeCount);
    if (strokeCount == 0) {
        QVERIFY(!result.error.empty());
        return;
    }
    const StrokeStyle &style = firstPage(result).strokeStyles.front();
    QCOMPARE(styleText(style.colour, style.tint), colour);
}

// Fills as the renderer gets them: shading and raster patterns (RF with FT11) as a tint of a colour.
void tst_PlotInterpreter::fillColours_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("colour");

    QTest::newRow("solid") << QByteArray("SP1;") << QStringLiteral("0,0,0");
    QTest::newRow("shading") << QByteArray("SP2;FT10,25;") << QStringLiteral("255,0,0 at 25%");
    QTest::newRow("raster pattern in its pens")
        << QByteArray("SP1;RF1,2,2,0,2,5,0;FT11,1;") << QStringLiteral("128,0,128 at 50%");
    QTest::newRow("raster pattern in the current pen")
        << QByteArray("SP3;RF1,2,2,0,2,5,0;FT11,1,1;") << QStringLiteral("0,255,0 at 50%");
    QTest::newRow("pattern pens take the palette at fill time")
        << QByteArray("RF1,1,2,2,0;FT11,1;PC2,0,0,0;SP1;") << QStringLiteral("0,0,0 at 50%");
    QTest::newRow("FT11 keeps its index")
        << QByteArray("SP1;RF2,1,2,1,0;FT11,2;FT1;FT11;") << QStringLiteral("0,0,0 at 50%");
    QTest::newRow("pattern cells above the palette wrap")
        << QByteArray("SP1;RF1,2,1,9,0;FT11,1;") << QStringLiteral("255,0,0 at 50%");
    QTest::newRow("pattern cells of a white pen leave the paper")
        << QByteArray("SP1;PC2,255,255,255;RF1,4,1,1,2,0,2;FT11,1;") << QStringLiteral("0,0,0 at 25%");
    QTest::newRow("undefined pattern is solid") << QByteArray("SP2;FT11,3;") << QStringLiteral("255,0,0");
    QTest::newRow("RF with the index alone forgets it")
        << QByteArray("SP1;RF1,1,2,1,0;RF1;FT11,1;") << QStringLiteral("0,0,0");
    QTest::newRow("RF; forgets all") << QByteArray("SP1;RF4,1,2,1,0;RF;FT11,4;") << QStringLiteral("0,0,0");
    QTest::newRow("DF forgets patterns")
        << QByteArray("SP1;RF1,1,2,1,0;DF;FT11,1;") << QStringLiteral("0,0,0");
    QTest::newRow("RF short of cells is ignored")
        << QByteArray("SP1;RF1,2,2,1,0,0;FT11,1;") << QStringLiteral("0,0,0");
    QTest::newRow("RF index out of range is ignored")
        << QByteArray("SP1;RF9,1,2,1,0;FT11,9;") << QStringLiteral("0,0,0");
    QTest::newRow("all-white pattern opaque with TR0")
        << QByteArray("SP1;TR0;RF1,1,1,0;FT11,1;") << QStringLiteral("255,255,255 at 0%");
    QTest::newRow("PCL user pattern as half tone")
        << QByteArray("SP2;FT22,5;") << QStringLiteral("255,0,0 at 50%");
}

void tst_PlotInterpreter::fillColours()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, colour);
    const InterpretResult result = interpret(input + "PA0,0;RR100,100;");
    const Page &page = firstPage(result);
    QCOMPARE(page.items.size(), std::size_t(1));
    QCOMPARE(page.items.front().kind, ItemKind::Fill);
    const FillStyle &style = page.fillStyles.front();
    QCOMPARE(styleText(style.colour, style.tint), colour);
}

void tst_PlotInterpreter::pages_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("pages");

    QTest::newRow("PG splits") << QByteArray("SP1;PD1,1;PG;PD2,2;PG;") << 2;
    QTest::newRow("empty pages are dropped") << QByteArray("PG;SP1;PD1,1;PG;PG;FR;") << 1;
    QTest::newRow("repeated IN stays on the page") << QByteArray("IN;SP1;PD1,1;IN;SP1;PD2,2;") << 1;
    QTest::newRow("ESC E ends the page") << QByteArray("IN;SP1;PD1,1;\x1b"
                                                       "E\x1b%1BIN;SP1;PD2,2;")
                                         << 2;
    QTest::newRow("AF and AH") << QByteArray("SP1;PD1,1;AF;PD2,2;AH;PD3,3") << 3;
    QTest::newRow("PCL paper source ejects") << QByteArray("\x1b"
                                                           "E\x1b%0BIN;SP1;PA0,0;PD4000,0;PU;"
                                                           "\x1b%1A\x1b&l0H\x1b%0BIN;SP1;PA0,0;PD0,4000;PU;"
                                                           "\x1b%0A\x1b"
                                                           "E")
                                             << 2;
    QTest::newRow("PCL form feed ejects") << QByteArray("\x1b%0BSP1;PD1,1;\x1b%0A\f\x1b%0BSP1;PD2,2;") << 2;
    // Raster rows are ink too: an eject after a page of raster alone prints it.
    QTest::newRow("paper source after a raster-only page ejects") << QByteArray(
        "\x1b"
        "E\x1b*r1A\x1b*b1W\xff\x1b*rB\x1b&l0H\x1b*r1A\x1b*b1W\xff\x1b*rB\x1b"
        "E") << 2;
    QTest::newRow("eject before any mark adds no page") << QByteArray("\x1b"
                                                                      "E\x1b&l1H\f\x1b%0BSP1;PD1,1;")
                                                        << 1;
}

void tst_PlotInterpreter::pages()
{
    QFETCH(QByteArray, input);
    QFETCH(int, pages);
    QCOMPARE(int(interpret(input).plot.pages.size()), pages);
}

void tst_PlotInterpreter::failures_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("error");

    QTest::newRow("empty") << QByteArray() << QStringLiteral("no HP-GL drawing instructions found");
    QTest::newRow("text file") << QByteArray("Dear reader, this is a letter.\n")
                               << QStringLiteral("no HP-GL drawing instructions found");
    QTest::newRow("only blank raster") << QByteArray("\x1b"
                                                     "E\x1b*r1A\x1b*b4W\0\0\0\0\x1b*rC\x1b"
                                                     "E",
        22) << QStringLiteral("the file holds only blank PCL raster data, no HP-GL drawing instructions");
    QTest::newRow("PostScript job") << QByteArray(
        "\x1b%-12345X@PJL ENTER LANGUAGE=POSTSCRIPT\n%!PS\nnewpath 0 0 moveto\n")
                                    << QStringLiteral("the file holds POSTSCRIPT content, not an HP-GL plot");
    QTest::newRow("nothing visible") << QByteArray("IN;SP1;PU100,100;SP0;PD200,200;")
                                     << QStringLiteral("the plot draws nothing visible");
}

void tst_PlotInterpreter::failures()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, error);
    const InterpretResult result = interpret(input);
    QCOMPARE(QString::fromStdString(result.error), error);
    QVERIFY(result.plot.pages.empty());
}

// Inputs that must neither crash nor leave non-finite geometry.
void tst_PlotInterpreter::robustness_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<bool>("draws");

    std::mt19937 random(7);
    QByteArray garbage(1 << 20, Qt::Uninitialized);
    for (char &c : garbage)
        c = char(random());
    QTest::newRow("random bytes") << garbage << false;
    QTest::newRow("NUL padding first") << QByteArray(200000, '\0') + "IN;SP1;PD100,100;" << true;
    QTest::newRow("huge coordinates")
        << QByteArray("SP1;PD1e300,1e300,-1e300,5;PA1e308,0;PD1e308,1e308;PD1,1") << true;
    QTest::newRow("huge scaling") << QByteArray("SP1;IP0,0,1,1;SC0,1e-300,0,1e-300;PA1,1;PD2,2;CI5;PA1,1")
                                  << false;
    QTest::newRow("unterminated label") << QByteArray("SP1;LBhello\nPA0,0;PD100,100;") << true;
    QTest::newRow("absurd sizes") << QByteArray("SP1;NP1e9;SI1e30,1e30;LBabc\x03SR-1e30,1e-30;LBx\x03")
                                  << true;
    QTest::newRow("tiny line pattern") << QByteArray("SP1;LT2,1e-9,1;PD1e9,0;LT1,1e-3,1;PD-1e9,5") << true;
    QTest::newRow("huge chord count") << QByteArray("SP1;PD;AA1e9,0,1e12,1e-9;CI1e9,0.0001") << true;
    QTest::newRow("endless PE digits") << "SP1;PE" + QByteArray(4 << 20, 'A') << false;
    QTest::newRow("long PE of zero moves") << "SP1;PE" + QByteArray(1 << 20, '\xbf') << true;
    QTest::newRow("unterminated polygon")
        << QByteArray("SP1;PM0;PD1,1,2,2;") + QByteArray(100000, '3') << false;
    QTest::newRow("escape at the very end") << QByteArray("SP1;PD1,1;\x1b") << true;
    QTest::newRow("cut PCL sequence") << QByteArray("SP1;PD1,1;\x1b*c12") << true;
    QTest::newRow("bad PJL") << QByteArray("@PJL ENTER LANGUAGE=\n@PJL\nIN;SP1;PD5,5") << true;
}

void tst_PlotInterpreter::robustness()
{
    QFETCH(QByteArray, input);
    QFETCH(bool, draws);
    const InterpretResult result = interpret(input);
    if (draws)
        QVERIFY2(result.error.empty(), result.error.c_str());
    for (const Page &page : result.plot.pages) {
        for (const Point &p : page.points)
            QVERIFY(std::isfinite(p.x) && std::isfinite(p.y));
        for (const TextRun &run : page.texts)
            QVERIFY(std::isfinite(run.origin.x) && std::isfinite(run.advance.x) && std::isfinite(run.up.y));
        QVERIFY(std::isfinite(page.inkBounds.left) && std::isfinite(page.inkBounds.top));
    }
}

void tst_PlotInterpreter::tooLargeIsReported()
{
    // One-PLU dashes along long lines: a few hundred bytes that would expand to millions of points.
    QByteArray input("SP1;LT2,0.025,1;PA0,0;");
    for (int i = 0; i < 40; ++i)
        input += "PD100000," + QByteArray::number(i) + ";PU0," + QByteArray::number(i + 1) + ";";
    const InterpretResult result = interpret(input);
    QVERIFY2(
        QString::fromStdString(result.error).startsWith(QStringLiteral("the plot is too large to display")),
        result.error.c_str());
}

QTEST_GUILESS_MAIN(tst_PlotInterpreter)
#include "tst_plotinterpreter.moc"
