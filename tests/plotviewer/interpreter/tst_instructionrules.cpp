// Rules that hold across instructions: what an instruction with parameters out of its range leaves
// alone, what polygon mode takes, which instructions start a line pattern afresh, and where each
// scaling form puts a point.

#include "PlotTestSupport.h"

#include <QTest>

using namespace plotviewer;
using plottest::interpret;
using plottest::pathText;
using plottest::strokes;
using plottest::styledStrokes;

namespace {

// Everything the first page draws, in painting order: styled strokes, fills and labels.
QStringList drawn(const QByteArray &plot)
{
    const InterpretResult result = interpret(plot);
    QStringList lines = styledStrokes(result);
    const Page &page = plottest::firstPage(result);
    lines << plottest::kindsInPaintingOrder(page);
    for (const Item &item : page.items) {
        if (item.kind != ItemKind::Fill)
            continue;
        const FillStyle &style = page.fillStyles[item.style];
        lines << QStringLiteral("fill of %1 paths, pattern %2, rule %3, tint %4")
                     .arg(item.pathCount)
                     .arg(int(style.pattern))
                     .arg(int(style.rule))
                     .arg(style.tint);
    }
    for (const TextRun &run : page.texts)
        lines << QString::fromUcs4(run.text.data(), qsizetype(run.text.size())) + u' '
                + plottest::pointText(run.origin);
    return lines;
}

} // namespace

class tst_InstructionRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void outOfRangeChangesNothing_data();
    void outOfRangeChangesNothing();
    void polygonModeIgnores_data();
    void polygonModeIgnores();
    void polygonModeTakes_data();
    void polygonModeTakes();
    void linePatternCarriesOn_data();
    void linePatternCarriesOn();
    void scalingPlacesPoints_data();
    void scalingPlacesPoints();
};

void tst_InstructionRules::outOfRangeChangesNothing_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("ignored");
    QTest::addColumn<QByteArray>("after");

    const QByteArray scaled("SP1;IP0,0,1000,1000;SC0,10,0,10;");
    const QByteArray scaledLine("PA1,1;PD9,3;");
    QTest::newRow("SC with no width") << scaled << QByteArray("SC5,5,0,10;") << scaledLine;
    QTest::newRow("SC with no height") << scaled << QByteArray("SC0,10,3,3;") << scaledLine;
    QTest::newRow("SC point factor of zero") << scaled << QByteArray("SC0,0,0,2,2;") << scaledLine;
    QTest::newRow("SC isotropic left beyond 100")
        << scaled << QByteArray("SC0,10,0,5,1,150,50;") << scaledLine;
    QTest::newRow("SC isotropic bottom below 0") << scaled << QByteArray("SC0,5,0,10,1,50,-1;") << scaledLine;
    QTest::newRow("SC of three numbers") << scaled << QByteArray("SC0,20,0;") << scaledLine;
    QTest::newRow("SC of an unknown form") << scaled << QByteArray("SC0,20,0,20,3;") << scaledLine;
    QTest::newRow("IP of three numbers") << scaled << QByteArray("IP0,0,500;") << scaledLine;
    QTest::newRow("IR of three numbers") << scaled << QByteArray("IR0,0,50;") << scaledLine;
    QTest::newRow("IW of three numbers") << QByteArray("SP1;IW0,0,500,500;") << QByteArray("IW0,0,100;")
                                         << QByteArray("PA-100,250;PD1000,250;");
    QTest::newRow("RO of 45 degrees")
        << QByteArray("PS4000,2000;SP1;") << QByteArray("RO45;") << QByteArray("PA0,0;PD100,50;");

    const QByteArray dashed("SP1;LT2,20,1;");
    const QByteArray longLine("PA0,0;PD1600,0;");
    QTest::newRow("LT type 9") << dashed << QByteArray("LT9;") << longLine;
    QTest::newRow("LT type -9") << dashed << QByteArray("LT-9;") << longLine;
    QTest::newRow("LT length 0") << dashed << QByteArray("LT3,0;") << longLine;
    QTest::newRow("LT negative length") << dashed << QByteArray("LT3,-5,1;") << longLine;
    QTest::newRow("LT length mode 2") << dashed << QByteArray("LT3,5,2;") << longLine;
    QTest::newRow("UL pattern 9") << dashed << QByteArray("UL9,10,10;") << longLine;
    QTest::newRow("UL all gaps zero") << dashed << QByteArray("UL2,0,0;") << longLine;
    QTest::newRow("UL a negative gap") << dashed << QByteArray("UL2,50,-10,50;") << longLine;

    QTest::newRow("SP a negative pen")
        << QByteArray("PC2,255,0,0;SP2;") << QByteArray("SP-1;") << QByteArray("PA0,0;PD100,100;");
    QTest::newRow("PC a pen beyond the palette")
        << QByteArray("NP4;SP1;") << QByteArray("PC9,255,0,0;") << QByteArray("PA0,0;PD100,100;");
    QTest::newRow("NP below two") << QByteArray("PC3,0,255,0;SP3;") << QByteArray("NP1;")
                                  << QByteArray("PA0,0;PD100,100;");
    QTest::newRow("FT of an unknown type")
        << QByteArray("SP1;FT3,50,45;") << QByteArray("FT99;") << QByteArray("PA0,0;RA500,500;");
    QTest::newRow("DT with a line feed")
        << QByteArray("SP1;DT#;") << QByteArray("DT\n;") << QByteArray("PA0,0;LBab#cd\x03");
}

// An instruction whose parameters are out of its range is ignored: the plot draws as without it.
void tst_InstructionRules::outOfRangeChangesNothing()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, ignored);
    QFETCH(QByteArray, after);
    const QStringList without = drawn(before + after);
    QVERIFY(without.size() > 1);
    QCOMPARE(drawn(before + ignored + after), without);
}

void tst_InstructionRules::polygonModeIgnores_data()
{
    QTest::addColumn<QByteArray>("inside");

    QTest::newRow("SP") << QByteArray("SP2;");
    QTest::newRow("PW") << QByteArray("PW2;");
    QTest::newRow("LT") << QByteArray("LT2,10,1;");
    QTest::newRow("LA") << QByteArray("LA1,4;");
    QTest::newRow("FT") << QByteArray("FT3,20,45;");
    QTest::newRow("PC") << QByteArray("PC1,255,0,0;");
    QTest::newRow("LB") << QByteArray("LBtext\x03");
    QTest::newRow("SC") << QByteArray("SC0,10,0,10;");
    QTest::newRow("IP") << QByteArray("IP0,0,10,10;");
    QTest::newRow("IW") << QByteArray("IW0,0,50,50;");
    QTest::newRow("RO") << QByteArray("RO90;");
    QTest::newRow("RA") << QByteArray("RA50,50;");
    QTest::newRow("EP") << QByteArray("EP;");
    QTest::newRow("FP") << QByteArray("FP;");
    QTest::newRow("unknown instruction") << QByteArray("ZZ1,2;");
}

// Polygon mode takes the moves, arcs, circles and PM only: anything else inside it changes neither
// the polygon nor the pen that edges and fills it.
void tst_InstructionRules::polygonModeIgnores()
{
    QFETCH(QByteArray, inside);
    const QByteArray start("SP1;PC2,0,0,255;PA0,0;PM0;PD100,0,100,100;");
    const QByteArray end("PD0,100;PM2;FP;EP;");
    const QStringList without = drawn(start + end);
    QCOMPARE(drawn(start + inside + end), without);
}

void tst_InstructionRules::polygonModeTakes_data()
{
    QTest::addColumn<QByteArray>("polygon");
    QTest::addColumn<QStringList>("edges");

    QTest::newRow("CI adds a circle of its own") << QByteArray(
        "PA50,50;PM0;CI10,90;PM2;") << QStringList { QStringLiteral("60,50 50,60 40,50 50,40 60,50") };
    QTest::newRow("relative moves") << QByteArray("PA10,10;PM0;PR;PD100,0,0,100;PM2;")
                                    << QStringList { QStringLiteral("10,10 110,10 110,110 10,10") };
    QTest::newRow("an arc") << QByteArray("PA100,0;PM0;PD;AA0,0,90,90;PM2;")
                            << QStringList { QStringLiteral("100,0 0,100 100,0") };
    QTest::newRow("IN ends it and draws nothing")
        << QByteArray("SP1;PA0,0;PM0;PD100,0,100,100;IN;SP1;PM2;") << QStringList {};
    QTest::newRow("PM0 inside starts the polygon afresh") << QByteArray(
        "PA0,0;PM0;PD100,0;PM0;PD0,100;PM2;") << QStringList { QStringLiteral("100,0 0,100 100,0") };
    QTest::newRow("PM2 puts the pen back where PM0 found it")
        << QByteArray("PA0,0;PM0;PD100,0,100,100;PM2;PU;PR;PD5,0;")
        << QStringList { QStringLiteral("0,0 5,0"), QStringLiteral("0,0 100,0 100,100 0,0") };
}

void tst_InstructionRules::polygonModeTakes()
{
    QFETCH(QByteArray, polygon);
    QFETCH(QStringList, edges);
    const InterpretResult result = interpret("SP1;" + polygon + "EP;");
    QStringList actual;
    for (const auto &path : strokes(result))
        actual << pathText(path);
    QCOMPARE(actual, edges);
}

void tst_InstructionRules::linePatternCarriesOn_data()
{
    QTest::addColumn<QByteArray>("between");
    QTest::addColumn<bool>("restarts");

    // Instructions that change nothing the two lines are drawn with.
    QTest::newRow("a pen-up move") << QByteArray("PA0,0;") << false;
    QTest::newRow("PC") << QByteArray("PC2,255,0,0;") << false;
    QTest::newRow("FT") << QByteArray("FT1;") << false;
    QTest::newRow("SV") << QByteArray("SV0;") << false;
    QTest::newRow("an unknown instruction") << QByteArray("ZZ;") << false;
    QTest::newRow("LT as it was") << QByteArray("LT2,20,1;") << true;
    QTest::newRow("SP the same pen") << QByteArray("SP1;") << true;
    QTest::newRow("PW the same width") << QByteArray("PW0.35;") << true;
    QTest::newRow("LA as it was") << QByteArray("LA1,1;") << true;
    QTest::newRow("UL another pattern") << QByteArray("UL5,1,1;") << true;
    QTest::newRow("AC") << QByteArray("AC;") << true;
    QTest::newRow("RF") << QByteArray("RF1,1,1,1;") << true;
    QTest::newRow("TR") << QByteArray("TR1;") << true;
    QTest::newRow("WU metric") << QByteArray("WU0;") << true;
    QTest::newRow("IP as it was") << QByteArray("IP;") << true;
    QTest::newRow("IR as it was") << QByteArray("IR;") << true;
    QTest::newRow("IW none") << QByteArray("IW;") << true;
    QTest::newRow("RO as it was") << QByteArray("RO0;") << true;
    QTest::newRow("SC off") << QByteArray("SC;") << true;
    QTest::newRow("an invalid SP") << QByteArray("SP-1;") << true;
    QTest::newRow("an invalid LT") << QByteArray("LT9;") << true;
}

// A fixed pattern carries its unused part from one line to the next, until an instruction that
// restarts it: the second line then starts with a whole dash.
void tst_InstructionRules::linePatternCarriesOn()
{
    QFETCH(QByteArray, between);
    QFETCH(bool, restarts);
    // 400 down, 400 up: the first line ends 600 into the pattern.
    const InterpretResult result
        = interpret("SP1;LT2,20,1;PA0,0;PD600,0;PU;" + between + "PA0,100;PD600,100;");
    QStringList second;
    for (const auto &path : strokes(result)) {
        if (path.front().y == 100)
            second << pathText(path);
    }
    QCOMPARE(second,
        restarts ? QStringList { QStringLiteral("0,100 400,100") }
                 : QStringList { QStringLiteral("200,100 600,100") });
}

void tst_InstructionRules::scalingPlacesPoints_data()
{
    QTest::addColumn<QByteArray>("scaling");
    QTest::addColumn<QString>("point"); // where user point (10,10) lands

    // P1 (0,0), P2 (2000,1000): the user square 0..10 fits 1000 high, leaving 1000 across.
    QTest::newRow("anisotropic stretches") << QByteArray("SC0,10,0,10;") << QStringLiteral("2000,1000");
    QTest::newRow("anisotropic, form 0 given") << QByteArray("SC0,10,0,10,0;") << QStringLiteral("2000,1000");
    QTest::newRow("isotropic centred") << QByteArray("SC0,10,0,10,1;") << QStringLiteral("1500,1000");
    QTest::newRow("isotropic at the left")
        << QByteArray("SC0,10,0,10,1,0,50;") << QStringLiteral("1000,1000");
    QTest::newRow("isotropic at the right")
        << QByteArray("SC0,10,0,10,1,100,50;") << QStringLiteral("2000,1000");
    QTest::newRow("isotropic, bottom unused")
        << QByteArray("SC0,10,0,10,1,50,0;") << QStringLiteral("1500,1000");
    QTest::newRow("isotropic mirrored in x") << QByteArray("SC10,0,0,10,1;") << QStringLiteral("500,1000");
    QTest::newRow("isotropic mirrored in y") << QByteArray("SC0,10,10,0,1;") << QStringLiteral("1500,0");
    QTest::newRow("point factor") << QByteArray("SC0,50,0,20,2;") << QStringLiteral("500,200");
    QTest::newRow("point factor mirrored") << QByteArray("SC0,-50,0,20,2;") << QStringLiteral("-500,200");
    QTest::newRow("point factor from an offset") << QByteArray("SC5,50,5,20,2;") << QStringLiteral("250,100");
    QTest::newRow("off again") << QByteArray("SC0,10,0,10;SC;") << QStringLiteral("10,10");
    QTest::newRow("IP after SC moves the user square")
        << QByteArray("SC0,10,0,10;IP0,0,1000,500;") << QStringLiteral("1000,500");
    QTest::newRow("P2 on P1 is bumped one unit")
        << QByteArray("IP100,100,100,100;SC0,10,0,10;") << QStringLiteral("101,101");
}

void tst_InstructionRules::scalingPlacesPoints()
{
    QFETCH(QByteArray, scaling);
    QFETCH(QString, point);
    const InterpretResult result = interpret("SP1;IP0,0,2000,1000;" + scaling + "PA10,10;PD;PU;");
    const auto paths = strokes(result);
    QVERIFY(!paths.empty());
    QCOMPARE(plottest::pointText(paths.back().back()), point);
}

QTEST_GUILESS_MAIN(tst_InstructionRules)
#include "tst_instructionrules.moc"
