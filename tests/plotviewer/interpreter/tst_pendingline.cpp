// The pending line: what the pen draws is stroked in the state it was drawn in, and painted before
// whatever is drawn after it.

#include "PlotTestSupport.h"

#include <QTest>

using namespace plotviewer;
using plottest::interpret;
using plottest::pathText;
using plottest::styledStrokes;

namespace {

QString kindsInPaintingOrder(const InterpretResult &result)
{
    QString kinds;
    for (const Page &page : result.plot.pages)
        kinds += plottest::kindsInPaintingOrder(page);
    return kinds;
}

} // namespace

class tst_PendingLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lineKeepsTheStateItWasDrawnIn_data();
    void lineKeepsTheStateItWasDrawnIn();
    void lineIsPaintedBeforeWhatFollows_data();
    void lineIsPaintedBeforeWhatFollows();
    void movesCarryTheLineOn_data();
    void movesCarryTheLineOn();
};

void tst_PendingLine::lineKeepsTheStateItWasDrawnIn_data()
{
    QTest::addColumn<QByteArray>("setup"); // before the line
    QTest::addColumn<QByteArray>("change"); // after it, before the pen draws on

    QTest::newRow("SP another pen") << QByteArray() << QByteArray("SP2;");
    QTest::newRow("PC the pen's colour") << QByteArray() << QByteArray("PC1,255,0,0;");
    QTest::newRow("NP fewer pens") << QByteArray("NP8;PC1,0,0,255;") << QByteArray("NP2;");
    QTest::newRow("CR colour range") << QByteArray("PC1,100,100,100;") << QByteArray("CR0,50,0,50,0,50;");
    QTest::newRow("PW the pen's width") << QByteArray() << QByteArray("PW2;");
    QTest::newRow("WU relative widths") << QByteArray("PW1;") << QByteArray("WU1;");
    QTest::newRow("LT a dashed line") << QByteArray() << QByteArray("LT2,4;");
    QTest::newRow("UL the current line type") << QByteArray("LT2,4;") << QByteArray("UL2,10,90;");
    QTest::newRow("LA round caps") << QByteArray() << QByteArray("LA1,4;");
    QTest::newRow("SV screened lines") << QByteArray() << QByteArray("SV1,50;");
    QTest::newRow("IW a window cutting the line") << QByteArray() << QByteArray("IW0,0,500,500;");
    QTest::newRow("PS a frame cutting the line") << QByteArray() << QByteArray("PS500,500;");
    QTest::newRow("IP the pattern's P1-P2 length") << QByteArray("LT2,4;") << QByteArray("IP0,0,100,100;");
    QTest::newRow("SC the pattern's length in user units")
        << QByteArray("LT2,4,1;") << QByteArray("SC0,1,0,1;");
    QTest::newRow("DF the defaults") << QByteArray("LT2,4;LA1,4;") << QByteArray("DF;");
    QTest::newRow("IN the pens and defaults") << QByteArray("PC1,255,0,0;PW1;") << QByteArray("IN;SP1;");
    QTest::newRow("PCL plot size scaling") << QByteArray("\x1b%0B") << QByteArray("\x1b%0A\x1b*c2K\x1b%1B");
}

void tst_PendingLine::lineKeepsTheStateItWasDrawnIn()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, change);
    const QByteArray line = setup + "SP1;PA0,0;PD1000,0,1000,1000;";
    const QStringList alone = styledStrokes(interpret(line));
    QVERIFY(!alone.isEmpty());
    const QStringList followed = styledStrokes(interpret(line + change + "PD2000,2000;"));
    QCOMPARE(followed.mid(0, alone.size()), alone);
}

void tst_PendingLine::lineIsPaintedBeforeWhatFollows_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("kinds"); // S stroke, F fill, T text, I image

    QTest::newRow("a label") << QByteArray("SP1;PA0,0;PD100,0;LBA\x03") << QStringLiteral("ST");
    QTest::newRow("a filled rectangle") << QByteArray("SP1;PA0,0;PD100,0;RA200,200;") << QStringLiteral("SF");
    QTest::newRow("a symbol at each point")
        << QByteArray("SP1;SM*;PA0,0;PD100,0,200,0;") << QStringLiteral("TSTST");
    QTest::newRow("a raster image") << QByteArray(
        "\x1b%0BSP1;PA0,0;PD100,0;\x1b%0A\x1b*r1A\x1b*b1W\xff\x1b*rB")
                                    << QStringLiteral("SI");
}

void tst_PendingLine::lineIsPaintedBeforeWhatFollows()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, kinds);
    const InterpretResult result = interpret(input);
    QVERIFY2(result.error.empty(), result.error.c_str());
    QCOMPARE(kindsInPaintingOrder(result), kinds);
}

void tst_PendingLine::movesCarryTheLineOn_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("strokes");

    QTest::newRow("PD then PA") << QByteArray("SP1;PA0,0;PD100,0;PA100,100;") << 1;
    QTest::newRow("PD then PR") << QByteArray("SP1;PA0,0;PD100,0;PR0,100;") << 1;
    QTest::newRow("PD then an arc") << QByteArray("SP1;PA0,0;PD100,0;AA0,0,90;") << 1;
    QTest::newRow("PD then a curve") << QByteArray("SP1;PA0,0;PD100,0;BZ100,50,50,100,0,100;") << 1;
    QTest::newRow("an unknown instruction") << QByteArray("SP1;PA0,0;PD100,0;ZZ1;PD100,100;") << 1;
    QTest::newRow("PU ends it") << QByteArray("SP1;PA0,0;PD100,0;PU;PD100,100;") << 2;
}

void tst_PendingLine::movesCarryTheLineOn()
{
    QFETCH(QByteArray, input);
    QFETCH(int, strokes);
    QCOMPARE(int(plottest::strokes(interpret(input)).size()), strokes);
}

QTEST_GUILESS_MAIN(tst_PendingLine)
#include "tst_pendingline.moc"
