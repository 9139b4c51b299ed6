// Page frames: the page each plot is shown on, decided when the page ends from what it drew. A
// frame that holds the drawing clips it; a PS that holds it only with its sides swapped is swapped;
// a frame that would swallow the drawing, or is only assumed, gives way to it.

#include "PlotTestSupport.h"

#include <QRectF>
#include <QTest>

#include <algorithm>
#include <cmath>

using namespace plotviewer;
using plottest::firstPage;
using plottest::interpret;
using plottest::kindsInPaintingOrder;
using plottest::pathText;
using plottest::strokes;

namespace {

QString frameText(const Page &page)
{
    return plottest::pointText({ page.frame.left, page.frame.bottom }) + QLatin1Char(' ')
        + plottest::pointText({ page.frame.right, page.frame.top });
}

} // namespace

class tst_PageFrames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pageFrame_data();
    void pageFrame();
    void swappedPlotSizeKeepsTheDrawing();
    void rotationTurnsTheDrawingInEveryWrapper_data();
    void rotationTurnsTheDrawingInEveryWrapper();
    void plotSizeLengthOnlyUnderRotation_data();
    void plotSizeLengthOnlyUnderRotation();
    void framesNeverSwallowTheDrawing_data();
    void framesNeverSwallowTheDrawing();
    void fittingOnePageKeepsTheOthers();
    void eachPageDecidesForItself();
    void givingWayBringsCutMarksBackWhole_data();
    void givingWayBringsCutMarksBackWhole();
    void swappingMovesTheWindowWithTheDrawing_data();
    void swappingMovesTheWindowWithTheDrawing();
    void swappingNeverMovesTheDrawingOffItsPlace();
    void marksCutBeyondThePointBudget_data();
    void marksCutBeyondThePointBudget();
};

void tst_PageFrames::pageFrame_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("frame");

    QTest::newRow("no page size") << QByteArray("SP1;PD100,100") << QStringLiteral("0,0 0,0");
    QTest::newRow("PS") << QByteArray("PS11176,8636;SP1;PD100,100") << QStringLiteral("0,0 11176,8636");
    QTest::newRow("PS with RO90 keeps the device's page")
        << QByteArray("PS11176,8636;RO90;SP1;PD100,100") << QStringLiteral("0,0 11176,8636");
    QTest::newRow("PS swapped when only that holds a stroke")
        << QByteArray("PS4000,8000;SP1;PA0,0;PD7900,3900") << QStringLiteral("0,0 8000,4000");
    QTest::newRow("PS swapped when only that holds a fill wholly beyond the order given")
        << QByteArray("PS4000,8000;SP1;PA6000,1000;RR500,500") << QStringLiteral("0,0 8000,4000");
    QTest::newRow("PS swapped for a fill drawn from where the pen stood before PS")
        << QByteArray("PS4000,8000;SP1;RA7361,2434") << QStringLiteral("0,0 8000,4000");
    QTest::newRow("PS swapped when only that holds a label")
        << QByteArray("PS4000,8000;SP1;SI0.5,0.5;PA3000,100;LBWIDE LABEL\x03")
        << QStringLiteral("0,0 8000,4000");
    QTest::newRow("PS swapped under RO90")
        << QByteArray("PS8000,4000;RO90;SP1;PA0,0;PD7900,3900") << QStringLiteral("0,0 4000,8000");
    QTest::newRow("PS kept when neither order holds the drawing but it keeps most")
        << QByteArray("PS4000,8000;SP1;PA0,0;PD4500,4500") << QStringLiteral("0,0 4000,8000");
    QTest::newRow("PS gives way when neither order holds most of the drawing")
        << QByteArray("PS4000,8000;SP1;PA0,0;PD9000,3900") << QStringLiteral("0,0 0,0");
    QTest::newRow("PS gives way to a label running far beyond it")
        << QByteArray("IN;PS2000;SP1;PA500,500;LBA label running far beyond a short plot size\x03")
        << QStringLiteral("0,0 0,0");
    QTest::newRow("PCL page gives way to a label running far beyond it")
        << QByteArray("\x1b"
                      "E\x1b&l2A\x1b%0BIN;SP1;PA500,500;ES3;LBA label running far beyond the page\x03")
        << QStringLiteral("0,0 0,0");
    QTest::newRow("PS kept when the window cuts the drawing")
        << QByteArray("PS4000,8000;IW0,0,4000,3000;SP1;PA0,0;PD7900,2900") << QStringLiteral("0,0 4000,8000");
    QTest::newRow("PS kept when the drawing ends on its edge")
        << QByteArray("PS4000,8000;SP1;PA0,0;PD4000,3900") << QStringLiteral("0,0 4000,8000");
    QTest::newRow("PCL letter portrait") << QByteArray("\x1b"
                                                       "E\x1b&l2A\x1b%1BIN;SP1;PD100,100")
                                         << QStringLiteral("-254,-508 8382,10668");
    QTest::newRow("PCL A4 landscape") << QByteArray("\x1b"
                                                    "E\x1b&l26a1O\x1b%1BIN;SP1;PD100,100")
                                      << QStringLiteral("-254,-508 11623.04,7894.32");
    QTest::newRow("PCL picture frame set after drawing keeps the paper") << QByteArray(
        "\x1b"
        "E\x1b%1BIN;SP1;PD100,100;\x1b%0A\x1b*c7920Y") << QStringLiteral("-254,-508 8382,10668");
}

void tst_PageFrames::pageFrame()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, frame);
    const InterpretResult result = interpret(input);
    const Page &page = firstPage(result);
    QCOMPARE(plottest::pointText({ page.frame.left, page.frame.bottom }) + QLatin1Char(' ')
            + plottest::pointText({ page.frame.right, page.frame.top }),
        frame);
}

void tst_PageFrames::swappedPlotSizeKeepsTheDrawing()
{
    const InterpretResult result = interpret("PS4000,8000;SP1;PA0,0;PD7900,3900;PU7000,200;PD100,3800");
    const auto paths = strokes(result);
    QCOMPARE(paths.size(), std::size_t(2));
    QCOMPARE(pathText(paths[0]), QStringLiteral("0,0 7900,3900"));
    QCOMPARE(pathText(paths[1]), QStringLiteral("7000,200 100,3800"));
    const std::vector<std::string> &warnings = result.plot.warnings;
    QVERIFY(std::any_of(warnings.begin(), warnings.end(),
        [](const std::string &warning) { return warning.find("swapped") != std::string::npos; }));
}

void tst_PageFrames::rotationTurnsTheDrawingInEveryWrapper_data()
{
    QTest::addColumn<QByteArray>("input");

    // A long leg along the rotated X axis, a short one along its Y axis: RO90 stands it upright.
    const QByteArray body("IN;RO90;IP;SP1;PA0,0;PD4000,0;PU;PA0,0;PD0,1000;PU;");
    QTest::newRow("bare HP-GL") << body;
    QTest::newRow("inside PCL") << QByteArray("\x1b%0B") + body + QByteArray("\x1b%0A");
    QTest::newRow("inside PCL with PS; after IN")
        << QByteArray("\x1b%0BIN;PS;") + body.mid(3) + QByteArray("\x1b%0A");
    QTest::newRow("with a plot size") << QByteArray("IN;PS11176,8636;") + body.mid(3);
}

void tst_PageFrames::rotationTurnsTheDrawingInEveryWrapper()
{
    QFETCH(QByteArray, input);
    const InterpretResult result = interpret(input);
    const Rect ink = firstPage(result).inkBounds;
    QVERIFY2(ink.top - ink.bottom > 3 * (ink.right - ink.left),
        qPrintable(plottest::pointText({ ink.left, ink.bottom }) + QLatin1Char(' ')
            + plottest::pointText({ ink.right, ink.top })));
}

void tst_PageFrames::plotSizeLengthOnlyUnderRotation_data()
{
    QTest::addColumn<int>("rotation");

    QTest::newRow("RO0") << 0;
    QTest::newRow("RO180") << 180;
    QTest::newRow("RO270") << 270;
}

void tst_PageFrames::plotSizeLengthOnlyUnderRotation()
{
    QFETCH(int, rotation);
    // A square 4000 units wide in a page 10000 long whose width the plot leaves open.
    const QByteArray input = "IN;PS10000;RO" + QByteArray::number(rotation)
        + ";IP0,0,4000,4000;SC0,100,0,100;SP1;PA0,0;PD100,0,100,100,0,100,0,0;PU;";
    const InterpretResult result = interpret(input);
    const Page &page = firstPage(result);
    QCOMPARE(page.frame.right - page.frame.left, 10000.0);
    const double width = page.frame.top - page.frame.bottom;
    QVERIFY2(width >= 4000 && width <= 4100, qPrintable(QString::number(width)));
    QVERIFY(page.inkBounds.top - page.inkBounds.bottom >= 0.9 * width);
    // The ink may pass the frame by half a pen width only.
    QVERIFY(page.inkBounds.bottom >= page.frame.bottom - 10 && page.inkBounds.top <= page.frame.top + 10);
}

void tst_PageFrames::framesNeverSwallowTheDrawing_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QRectF>("ink"); // left, bottom, width, height; within a pen width
    QTest::addColumn<bool>("fitsTheInk");
    QTest::addColumn<QString>("warning"); // part of the one frame warning; empty for none

    // PCL wrappers without a page-size escape: the Letter page is only assumed.
    const QString assumed = QStringLiteral("beyond the page");
    QTest::newRow("drawing wholly left of the assumed page") << QByteArray(
        "\x1b"
        "E\x1b%0BIN;SP1;PA-3000,1000;PD-1000,1000,-1000,3000;PU;\x1b%0A\x1b"
        "E") << QRectF(-3000, 1000, 2000, 2000) << true << assumed;
    QTest::newRow("header above the assumed page")
        << QByteArray("\x1b"
                      "E\x1b%0BIN;SP1;PA500,10300;PD3000,10300;PU;PA500,500;PD3000,500;PU;\x1b%0A\x1b"
                      "E")
        << QRectF(500, 500, 2500, 9800) << true << assumed;
    QTest::newRow("drawing within the assumed page keeps it") << QByteArray(
        "\x1b"
        "E\x1b%0BIN;SP1;PA500,500;PD3000,500;PU;\x1b%0A\x1b"
        "E") << QRectF(500, 500, 2500, 0) << false << QString();

    // Real frames clip, unless they would leave less than half of the drawing.
    const QString fits = QStringLiteral("fits the drawing");
    const QString cut = QStringLiteral("was cut");
    QTest::newRow("drawing wholly left of a PCL Letter page") << QByteArray(
        "\x1b"
        "E\x1b&l2A\x1b%0BIN;SP1;PA-3000,1000;PD-1000,1000,-1000,3000;PU;\x1b%0A\x1b"
        "E") << QRectF(-3000, 1000, 2000, 2000) << true << fits;
    QTest::newRow("PCL Letter page cutting the end of a long line") << QByteArray(
        "\x1b"
        "E\x1b&l2A\x1b%0BIN;SP1;PA500,500;PD500,9000,9000,9000;PU;\x1b%0A\x1b"
        "E") << QRectF(500, 500, 8128 - 500, 8500) << false << cut;
    QTest::newRow("one-sided PS with the drawing far beyond its length")
        << QByteArray("IN;PS10000;SP1;PA20000,1000;PD25000,1000,25000,3000;PU;")
        << QRectF(20000, 1000, 5000, 2000) << true << fits;
    QTest::newRow("one-sided PS cutting a little") << QByteArray("IN;PS10000;SP1;PA500,500;PD10500,500;PU;")
                                                   << QRectF(500, 500, 9500, 0) << false << cut;
    QTest::newRow("PS cutting a small header")
        << QByteArray("IN;PS10000,8000;SP1;PA500,500;PD9500,500,9500,7500,500,7500,500,500;PU;"
                      "PA500,7800;PD9500,8300;PU;")
        << QRectF(500, 500, 9000, 7500) << false << cut;
    QTest::newRow("PCL Letter page holding its drawing") << QByteArray(
        "\x1b"
        "E\x1b&l2A\x1b%0BIN;SP1;PA500,500;PD3000,500;PU;\x1b%0A\x1b"
        "E") << QRectF(500, 500, 2500, 0) << false << QString();
    QTest::newRow("PS holding its drawing") << QByteArray("IN;PS10000,8000;SP1;PA500,500;PD9500,7500;PU;")
                                            << QRectF(500, 500, 9000, 7000) << false << QString();
    QTest::newRow("only the page the frame swallows fits its ink")
        << QByteArray("IN;PS10000,8000;SP1;PA500,500;PD9500,7500;PU;PG;PA20000,500;PD25000,500;PU;")
        << QRectF(500, 500, 9000, 7000) << false << fits;
}

void tst_PageFrames::framesNeverSwallowTheDrawing()
{
    QFETCH(QByteArray, input);
    QFETCH(QRectF, ink);
    QFETCH(bool, fitsTheInk);
    QFETCH(QString, warning);
    const InterpretResult result = interpret(input);
    QVERIFY2(result.error.empty(), result.error.c_str());
    const Page &page = firstPage(result);
    const Rect &actual = page.inkBounds;
    const double slack = 10; // half a pen width and rounding
    QVERIFY2(std::abs(actual.left - ink.left()) <= slack && std::abs(actual.right - ink.right()) <= slack
            && std::abs(actual.bottom - ink.top()) <= slack && std::abs(actual.top - ink.bottom()) <= slack,
        qPrintable(plottest::pointText({ actual.left, actual.bottom }) + QLatin1Char(' ')
            + plottest::pointText({ actual.right, actual.top })));
    QCOMPARE(page.frame.isEmpty(), fitsTheInk);
    QStringList frameWarnings;
    for (const std::string &text : result.plot.warnings) {
        if (text.find("page") != std::string::npos)
            frameWarnings << QString::fromStdString(text);
    }
    if (warning.isEmpty()) {
        QVERIFY2(frameWarnings.isEmpty(), qPrintable(frameWarnings.join(QLatin1Char('\n'))));
    } else {
        QCOMPARE(frameWarnings.size(), 1);
        QVERIFY2(frameWarnings.front().contains(warning), qPrintable(frameWarnings.front()));
    }
}

void tst_PageFrames::fittingOnePageKeepsTheOthers()
{
    // The middle page lies wholly beyond the plot size; the file has no pen selection and an
    // unknown instruction, each worth one warning however often it is read.
    const InterpretResult result = interpret("IN;PS10000,8000;PA500,500;PD9500,7500;PU;PG;PA20000,500;"
                                             "PD25000,500;PU;PG;PA500,500;PD600,600;PU;ZZ1;");
    QVERIFY2(result.error.empty(), result.error.c_str());
    QStringList frames;
    for (const Page &page : result.plot.pages)
        frames << plottest::pointText({ page.frame.right, page.frame.top });
    QCOMPARE(frames.join(QLatin1Char(' ')), QStringLiteral("10000,8000 0,0 10000,8000"));
    QCOMPARE(result.plot.pages[2].inkBounds.right < 700, true);
    QStringList warnings;
    for (const std::string &warning : result.plot.warnings)
        warnings << QString::fromStdString(warning).section(QLatin1Char(' '), 0, 1);
    warnings.sort();
    QCOMPARE(warnings.join(QLatin1Char('|')), QStringLiteral("drawing started|most of|skipped 1"));
}

void tst_PageFrames::eachPageDecidesForItself()
{
    // PS 4000 x 8000: a drawing that only the sides swapped hold, one that the order given holds,
    // one wholly beyond the plot size, and one that it cuts a little.
    const InterpretResult result
        = interpret("IN;PS4000,8000;SP1;PA0,0;PD7900,3900;PU;PG;PA100,100;PD3900,7900;PU;PG;"
                    "PA20000,500;PD25000,500;PU;PG;PA500,500;PD500,7900,4500,7900;PU;");
    QStringList frames;
    for (const Page &page : result.plot.pages)
        frames << frameText(page);
    QCOMPARE(
        frames.join(QLatin1Char('|')), QStringLiteral("0,0 8000,4000|0,0 4000,8000|0,0 0,0|0,0 4000,8000"));
    QVERIFY(result.plot.pages.back().inkBounds.right <= 4010); // cut at the frame but for half a pen
}

void tst_PageFrames::givingWayBringsCutMarksBackWhole_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("strokes");
    QTest::addColumn<QString>("kinds"); // in painting order: S stroke, F fill, T text, I image

    QTest::newRow("strokes inside, across and beyond the frame, then a label")
        << QByteArray("IN;PS1000,1000;SP1;PA100,100;PD200,200;PU;PA500,500;PD9000,500;PU;SP2;PA9000,100;"
                      "PD9000,9000;PU;PA300,300;LBX\x03")
        << QStringList { QStringLiteral("100,100 200,200"), QStringLiteral("500,500 9000,500"),
               QStringLiteral("9000,100 9000,9000") }
        << QStringLiteral("SST");
    QTest::newRow("a window still clips what the frame gave back")
        << QByteArray("IN;PS1000,1000;IW0,0,6000,6000;SP1;PA500,500;PD9000,500;PU;")
        << QStringList { QStringLiteral("500,500 6000,500") } << QStringLiteral("S");
    QTest::newRow("a fill beyond the frame between two strokes")
        << QByteArray(
               "IN;PS1000,1000;SP1;PA100,100;PD200,100;PU;PA3000,3000;RA9000,9000;PA200,200;PD300,300;PU;")
        << QStringList { QStringLiteral("100,100 200,100"), QStringLiteral("200,200 300,300") }
        << QStringLiteral("SFS");
    QTest::newRow("a raster image before the drawing beyond a PCL page") << QByteArray(
        "\x1b"
        "E\x1b&l2A\x1b*r1A\x1b*b1W\xff\x1b*rB\x1b%0BIN;SP1;PA-3000,1000;PD-1000,1000,-1000,3000;"
        "PU;\x1b%0A\x1b"
        "E") << QStringList { QStringLiteral("-3000,1000 -1000,1000 -1000,3000") }
                                                                         << QStringLiteral("IS");
}

void tst_PageFrames::givingWayBringsCutMarksBackWhole()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, strokes);
    QFETCH(QString, kinds);
    const InterpretResult result = interpret(input);
    QVERIFY2(result.error.empty(), result.error.c_str());
    const Page &page = firstPage(result);
    QCOMPARE(frameText(page), QStringLiteral("0,0 0,0"));
    QStringList actual;
    for (const auto &path : plottest::strokes(result))
        actual << pathText(path);
    QCOMPARE(actual, strokes);
    QCOMPARE(kindsInPaintingOrder(page), kinds);
}

void tst_PageFrames::swappingMovesTheWindowWithTheDrawing_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("stroke");
    QTest::addColumn<QString>("frame");

    QTest::newRow("no rotation") << QByteArray("PS4000,8000;IW0,0,7000,3000;SP1;PA0,0;PD7900,2900;")
                                 << QStringLiteral("0,0 7000,2569.62") << QStringLiteral("0,0 8000,4000");
    // RO90 puts the origin at the far side of the frame, which the swapped frame moves.
    QTest::newRow("RO90") << QByteArray("PS8000,4000;RO90;IW0,0,7000,3000;SP1;PA0,0;PD7900,3900;")
                          << QStringLiteral("4000,0 1000,6076.92") << QStringLiteral("0,0 4000,8000");
}

void tst_PageFrames::swappingMovesTheWindowWithTheDrawing()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, stroke);
    QFETCH(QString, frame);
    const InterpretResult result = interpret(input);
    const auto paths = strokes(result);
    QCOMPARE(paths.size(), std::size_t(1));
    QCOMPARE(pathText(paths.front()), stroke);
    QCOMPARE(frameText(firstPage(result)), frame);
}

void tst_PageFrames::swappingNeverMovesTheDrawingOffItsPlace()
{
    // The pen was put at 4100,100 before RO90 moved the origin, so the line starts there whichever
    // way round the plot size is read; moved with the origin, it would fit the swapped frame.
    const InterpretResult result = interpret("PS8000,4000;SP1;PA4100,100;RO90;PR;PD7000,0;");
    const auto paths = strokes(result);
    QVERIFY(!paths.empty());
    QCOMPARE(plottest::pointText(paths.front().front()), QStringLiteral("4100,100"));
}

void tst_PageFrames::marksCutBeyondThePointBudget_data()
{
    QTest::addColumn<bool>("framed"); // lines within the frame that outweigh the circles beyond it
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("frame");

    QTest::newRow("a page that would give way is too large")
        << false << QStringLiteral("the plot is too large to display") << QString();
    QTest::newRow("a page that keeps its frame drops them")
        << true << QString() << QStringLiteral("0,0 1000,1000");
}

void tst_PageFrames::marksCutBeyondThePointBudget()
{
    QFETCH(bool, framed);
    QFETCH(QString, error);
    QFETCH(QString, frame);
    // Finely drawn circles beyond the plot size: kept whole, they would take more points than the
    // budget for the page.
    QByteArray input("IN;PS1000,1000;SP1;");
    for (int i = 0; framed && i < 400; ++i)
        input += "PA0,0;PD1000,1000;PU;";
    for (int i = 0; i < 6000; ++i)
        input += "PA5000,5000;CI10,0.5;";
    const InterpretResult result = interpret(input);
    QVERIFY2(QString::fromStdString(result.error).startsWith(error), result.error.c_str());
    if (error.isEmpty())
        QCOMPARE(frameText(firstPage(result)), frame);
}

QTEST_GUILESS_MAIN(tst_PageFrames)
#include "tst_pageframes.moc"
