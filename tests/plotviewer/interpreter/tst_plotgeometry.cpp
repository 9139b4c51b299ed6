// Rows for the geometry helpers behind the interpreter: clipping, arcs, three-point arcs, pen
// numbers, user-defined line types.

#include "PlotTestSupport.h"

#include "plotviewer/interpreter/CurveTessellator.h"
#include "plotviewer/interpreter/LinePattern.h"
#include "plotviewer/interpreter/PenPalette.h"
#include "plotviewer/model/RectClipper.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <numbers>

using namespace plotviewer;
using namespace plotviewer::hpgl;

namespace {

std::vector<Point> points(const QList<double> &coordinates)
{
    std::vector<Point> result;
    for (qsizetype i = 0; i + 1 < coordinates.size(); i += 2)
        result.push_back({ coordinates[i], coordinates[i + 1] });
    return result;
}

} // namespace

class tst_PlotGeometry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clipPolyline_data();
    void clipPolyline();
    void clipPolygon_data();
    void clipPolygon();
    void arcPoints_data();
    void arcPoints();
    void arcThrough_data();
    void arcThrough();
    void penNumbers_data();
    void penNumbers();
    void userLineType_data();
    void userLineType();
};

void tst_PlotGeometry::clipPolyline_data()
{
    QTest::addColumn<QList<double>>("polyline");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("inside") << QList<double> { 10, 10, 90, 90 }
                            << QStringList { QStringLiteral("10,10 90,90") };
    QTest::newRow("crosses twice") << QList<double> { -50, 50, 150, 50 }
                                   << QStringList { QStringLiteral("0,50 100,50") };
    QTest::newRow("leaves and comes back") << QList<double> { 50, 50, 50, 150, 60, 150, 60,
        50 } << QStringList { QStringLiteral("50,50 50,100"), QStringLiteral("60,100 60,50") };
    QTest::newRow("outside") << QList<double> { 200, 200, 300, 300 } << QStringList {};
    QTest::newRow("along an edge, corner to corner")
        << QList<double> { 0, 0, 0, 100, 100, 100 } << QStringList { QStringLiteral("0,0 0,100 100,100") };
    QTest::newRow("touches an edge from outside")
        << QList<double> { 150, 50, 100, 50 } << QStringList { QStringLiteral("100,50 100,50") };
    QTest::newRow("dot inside") << QList<double> { 5, 5 } << QStringList { QStringLiteral("5,5") };
    QTest::newRow("dot outside") << QList<double> { -5, 5 } << QStringList {};
    QTest::newRow("huge values") << QList<double> { -1e300, 50, 1e300, 50 }
                                 << QStringList { QStringLiteral("0,50 100,50") };
    QTest::newRow("infinity breaks the line")
        << QList<double> { 10, 10, std::numeric_limits<double>::infinity(), 10, 20, 20, 30, 30 }
        << QStringList { QStringLiteral("20,20 30,30") };
}

void tst_PlotGeometry::clipPolyline()
{
    QFETCH(QList<double>, polyline);
    QFETCH(QStringList, expected);
    QStringList actual;
    RectClipper({ 0, 0, 100, 100 }).clipPolyline(points(polyline), [&](std::span<const Point> piece) {
        actual << plottest::pathText(piece);
    });
    QCOMPARE(actual, expected);
}

void tst_PlotGeometry::clipPolygon_data()
{
    QTest::addColumn<QList<double>>("polygon");
    QTest::addColumn<QString>("expected");

    QTest::newRow("inside") << QList<double> { 10, 10, 90, 10, 50, 90 }
                            << QStringLiteral("10,10 90,10 50,90");
    QTest::newRow("cut by the right edge")
        << QList<double> { 50, 10, 150, 10, 150, 90, 50, 90 } << QStringLiteral("50,10 100,10 100,90 50,90");
    QTest::newRow("around the window") << QList<double> { -10, -10, 110, -10, 110, 110, -10, 110 }
                                       << QStringLiteral("0,100 0,0 100,0 100,100");
    QTest::newRow("outside") << QList<double> { 200, 200, 300, 200, 300, 300 } << QString();
    QTest::newRow("on the edges") << QList<double> { 0, 0, 100, 0, 100, 100 }
                                  << QStringLiteral("0,0 100,0 100,100");
    QTest::newRow("NaN vertex dropped") << QList<double> { 10, 10, std::numeric_limits<double>::quiet_NaN(),
        5, 90, 10, 50, 90 } << QStringLiteral("10,10 90,10 50,90");
}

void tst_PlotGeometry::clipPolygon()
{
    QFETCH(QList<double>, polygon);
    QFETCH(QString, expected);
    QCOMPARE(plottest::pathText(RectClipper({ 0, 0, 100, 100 }).clipPolygon(points(polygon))), expected);
}

void tst_PlotGeometry::arcPoints_data()
{
    QTest::addColumn<double>("radius");
    QTest::addColumn<double>("startDegrees");
    QTest::addColumn<double>("sweep");
    QTest::addColumn<double>("chordAngle");
    QTest::addColumn<int>("chords");

    QTest::newRow("full circle, default chord") << 100.0 << 0.0 << 360.0 << 5.0 << 72;
    QTest::newRow("clockwise quarter from 30 degrees") << 2000.0 << 30.0 << -90.0 << 5.0 << 18;
    QTest::newRow("finest chord, large radius") << 1e6 << 45.0 << 360.0 << 0.01 << 720;
    QTest::newRow("uneven chord count") << 50.0 << 10.0 << 100.0 << 7.0 << 15;
    QTest::newRow("beyond a full turn") << 10.0 << 0.0 << 450.0 << 5.0 << 90;
    QTest::newRow("one chord") << 10.0 << 90.0 << 3.0 << 5.0 << 1;
}

// Every point lies where the angle says, however many chords came before it.
void tst_PlotGeometry::arcPoints()
{
    QFETCH(double, radius);
    QFETCH(double, startDegrees);
    QFETCH(double, sweep);
    QFETCH(double, chordAngle);
    QFETCH(int, chords);
    const Point centre { 300, -200 };
    const double start = startDegrees * std::numbers::pi / 180;
    const Point first { centre.x + radius * std::cos(start), centre.y + radius * std::sin(start) };
    std::vector<Point> arc;
    CurveTessellator::appendArc(centre, first, sweep, chordAngle, arc);
    QCOMPARE(int(arc.size()), chords);
    for (int i = 1; i <= chords; ++i) {
        const double angle = start + sweep * std::numbers::pi / 180 * i / chords;
        const Point expected { centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle) };
        const Point got = arc[std::size_t(i - 1)];
        if (std::hypot(got.x - expected.x, got.y - expected.y) > 1e-9 * radius)
            QFAIL(qPrintable(QStringLiteral("point %1 of %2 is at %3, not %4")
                                 .arg(i)
                                 .arg(chords)
                                 .arg(plottest::pointText(got), plottest::pointText(expected))));
    }
}

void tst_PlotGeometry::arcThrough_data()
{
    QTest::addColumn<QList<double>>("threePoints");
    QTest::addColumn<bool>("isArc");
    QTest::addColumn<QString>("centre");
    QTest::addColumn<double>("sweep");

    QTest::newRow("clockwise half circle")
        << QList<double> { 0, 0, 100, 100, 200, 0 } << true << QStringLiteral("100,0") << -180.0;
    QTest::newRow("counter-clockwise quarter")
        << QList<double> { 100, 0, 70.710678, 70.710678, 0, 100 } << true << QStringLiteral("0,0") << 90.0;
    QTest::newRow("three quarters") << QList<double> { 100, 0, -100, 0, 0, -100 } << true
                                    << QStringLiteral("0,0") << 270.0;
    QTest::newRow("collinear") << QList<double> { 0, 0, 50, 0, 100, 0 } << false << QString() << 0.0;
    QTest::newRow("coincident") << QList<double> { 5, 5, 5, 5, 5, 5 } << false << QString() << 0.0;
}

void tst_PlotGeometry::arcThrough()
{
    QFETCH(QList<double>, threePoints);
    QFETCH(bool, isArc);
    QFETCH(QString, centre);
    QFETCH(double, sweep);
    const std::vector<Point> p = points(threePoints);
    const auto arc = CurveTessellator::arcThrough(p[0], p[1], p[2]);
    QCOMPARE(arc.has_value(), isArc);
    if (!arc)
        return;
    QCOMPARE(plottest::pointText(arc->centre), centre);
    QCOMPARE(std::round(arc->sweep * 1000) / 1000, sweep);
}

void tst_PlotGeometry::penNumbers_data()
{
    QTest::addColumn<double>("paletteSize");
    QTest::addColumn<double>("pen");
    QTest::addColumn<int>("resolved");

    QTest::newRow("inside the palette") << 8.0 << 5.0 << 5;
    QTest::newRow("pen 0") << 8.0 << 0.0 << 0;
    QTest::newRow("wraps skipping pen 0") << 8.0 << 8.0 << 1;
    QTest::newRow("wraps twice") << 8.0 << 16.0 << 2;
    QTest::newRow("NP rounds up to a power of two") << 5.0 << 7.0 << 7;
    QTest::newRow("fractions round") << 8.0 << 2.6 << 3;
    QTest::newRow("negative is invalid") << 8.0 << -1.0 << -1;
    QTest::newRow("huge wraps") << 256.0 << 1e12 << int(std::fmod(1e12 - 1, 255)) + 1;
}

void tst_PlotGeometry::penNumbers()
{
    QFETCH(double, paletteSize);
    QFETCH(double, pen);
    QFETCH(int, resolved);
    PenPalette pens;
    QVERIFY(pens.setPaletteSize(paletteSize));
    QCOMPARE(pens.resolve(pen), resolved);
}

void tst_PlotGeometry::userLineType_data()
{
    QTest::addColumn<QList<double>>("gaps");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QStringList>("dashes");

    QTest::newRow("dash and gap in any unit") << QList<double> { 3,
        1 } << true << QStringList { QStringLiteral("0,0 300,0"), QStringLiteral("400,0 700,0") };
    QTest::newRow("odd count ends with a dash")
        << QList<double> { 1, 1, 2 } << true
        << QStringList { QStringLiteral("0,0 100,0"), QStringLiteral("200,0 400,0"),
               QStringLiteral("400,0 500,0"), QStringLiteral("600,0 800,0") };
    QTest::newRow("all zero is refused") << QList<double> { 0, 0 } << false << QStringList {};
    QTest::newRow("negative is refused") << QList<double> { 1, -1 } << false << QStringList {};
}

void tst_PlotGeometry::userLineType()
{
    QFETCH(QList<double>, gaps);
    QFETCH(bool, accepted);
    QFETCH(QStringList, dashes);
    LinePattern pattern;
    QCOMPARE(pattern.define(5, std::vector<double>(gaps.begin(), gaps.end())), accepted);
    if (!accepted)
        return;
    const double length = 400;
    QVERIFY(pattern.setType(5, &length, nullptr));
    QStringList actual;
    pattern.cut(points({ 0, 0, 800, 0 }), length,
        [&](std::span<const Point> piece) { actual << plottest::pathText(piece); });
    QCOMPARE(actual, dashes);
}

QTEST_GUILESS_MAIN(tst_PlotGeometry)
#include "tst_plotgeometry.moc"
