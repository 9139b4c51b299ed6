// Work the renderer does on device-space geometry before Qt paints it: dropping the points that
// make no visible difference, and cutting large outlines into bands of pixel rows. Both must leave
// the picture as it was.

#include "plotviewer/render/BandedFill.h"
#include "plotviewer/render/ConvexLoopStroke.h"
#include "plotviewer/render/PolylineReduction.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

using namespace plotviewer;

namespace {

using Polyline = std::vector<QPointF>;

Polyline circle(QPointF centre, double radius, int chords)
{
    Polyline points;
    for (int i = 0; i <= chords; ++i) {
        const double angle = 2 * std::numbers::pi * i / chords;
        points.emplace_back(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
    }
    return points;
}

double distanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double length = QPointF::dotProduct(ab, ab);
    const double t = length > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length, 0.0, 1.0) : 0;
    const QPointF offset = p - (a + t * ab);
    return std::hypot(offset.x(), offset.y());
}

// How far the farthest original point lies from the reduced polyline.
double farthestMiss(const Polyline &original, const Polyline &reduced, bool closed)
{
    double farthest = 0;
    for (const QPointF p : original) {
        double nearest = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i + 1 < reduced.size(); ++i)
            nearest = std::min(nearest, distanceToSegment(p, reduced[i], reduced[i + 1]));
        if (closed)
            nearest = std::min(nearest, distanceToSegment(p, reduced.back(), reduced.front()));
        farthest = std::max(farthest, nearest);
    }
    return farthest;
}

// A seven-pointed star drawn in one line whose edges cross each other, so that the fill rules
// differ inside it; each edge is cut into many short ones.
Polyline crossingStar(QPointF centre, double radius)
{
    constexpr int corners = 7;
    constexpr int piecesPerEdge = 500;
    const auto corner = [&](int i) {
        const double angle = 2 * std::numbers::pi * double(i * 3 % corners) / corners;
        return QPointF(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
    };
    Polyline star;
    for (int i = 0; i < corners; ++i) {
        for (int piece = 0; piece < piecesPerEdge; ++piece)
            star.push_back(corner(i) + (corner(i + 1) - corner(i)) * piece / piecesPerEdge);
    }
    return star;
}

QImage blankPicture()
{
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::white);
    return picture;
}

// The darkness of a picture summed over its pixels, in whole black pixels.
double inkAmount(const QImage &picture)
{
    double ink = 0;
    for (int y = 0; y < picture.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            ink += (255 - qGray(row[x])) / 255.0;
    }
    return ink;
}

int largestChannelDifference(const QImage &a, const QImage &b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto *p = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const auto *q = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            largest = std::max({ largest, std::abs(qRed(p[x]) - qRed(q[x])),
                std::abs(qGreen(p[x]) - qGreen(q[x])), std::abs(qBlue(p[x]) - qBlue(q[x])) });
        }
    }
    return largest;
}

} // namespace

class tst_DeviceGeometry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void curvesShrinkToWhatTheDeviceShows_data();
    void curvesShrinkToWhatTheDeviceShows();
    void reductionKeeps_data();
    void reductionKeeps();
    void crowdedPointsGo();
    void bandedFillLooksTheSame_data();
    void bandedFillLooksTheSame();
    void bandsOnlyForPicturesPixelForPixel();
    void convexLoopAreaLooksLikeTheStroke_data();
    void convexLoopAreaLooksLikeTheStroke();
    void convexLoopLeftToQt_data();
    void convexLoopLeftToQt();
};

void tst_DeviceGeometry::curvesShrinkToWhatTheDeviceShows_data()
{
    QTest::addColumn<double>("tolerance");
    QTest::addColumn<double>("radius");
    QTest::addColumn<int>("chords");
    QTest::addColumn<int>("mostPoints");

    // A circle needs about pi / acos(1 - tolerance / radius) chords.
    QTest::newRow("a pad two pixels across") << 0.1 << 1.1 << 72 << 10;
    QTest::newRow("the same pad asked in half degrees") << 0.1 << 1.1 << 720 << 14;
    QTest::newRow("six pixels") << 0.1 << 6.0 << 72 << 20;
    QTest::newRow("a hundred pixels keeps its 5-degree chords") << 0.1 << 100.0 << 72 << 73;
    QTest::newRow("a hundred pixels asked in half degrees") << 0.1 << 100.0 << 720 << 80;
    QTest::newRow("a finer tolerance keeps more") << 0.02 << 6.0 << 720 << 45;
}

void tst_DeviceGeometry::curvesShrinkToWhatTheDeviceShows()
{
    QFETCH(double, tolerance);
    QFETCH(double, radius);
    QFETCH(int, chords);
    QFETCH(int, mostPoints);
    const Polyline original = circle({ 200, 150 }, radius, chords);
    Polyline reduced = original;
    StraightRunReduction(tolerance).reduce(reduced, true);
    QVERIFY2(int(reduced.size()) <= mostPoints, qPrintable(QString::number(reduced.size())));
    QVERIFY(farthestMiss(original, reduced, true) <= tolerance);
    QCOMPARE(reduced.front(), original.front());
    QCOMPARE(reduced.back(), original.back());
}

void tst_DeviceGeometry::reductionKeeps_data()
{
    QTest::addColumn<Polyline>("points");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<Polyline>("expected");

    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("a straight run keeps its ends") << Polyline { { 0, 0 }, { 10, 0.05 }, { 20, -0.05 },
        { 30, 0 } } << false << Polyline { { 0, 0 }, { 30, 0 } };
    QTest::newRow("the tip of a spike that turns back") << Polyline { { 0, 0 }, { 10, 0 }, { 20, 0 },
        { 5, 0 } } << false << Polyline { { 0, 0 }, { 20, 0 }, { 5, 0 } };
    QTest::newRow("a corner") << Polyline { { 0, 0 }, { 10, 0 }, { 10, 10 } } << false
                              << Polyline { { 0, 0 }, { 10, 0 }, { 10, 10 } };
    QTest::newRow("a tiny closed shape stays a shape") << Polyline { { 0, 0 }, { 0.05, 0.01 }, { 0.1, 0 },
        { 0.05, -0.01 } } << true << Polyline { { 0, 0 }, { 0.05, 0.01 }, { 0.1, 0 }, { 0.05, -0.01 } };
    QTest::newRow("a point that is not a number") << Polyline { { 0, 0 }, { nan, nan }, { 20, 0 } } << false
                                                  << Polyline { { 0, 0 }, { nan, nan }, { 20, 0 } };
}

void tst_DeviceGeometry::reductionKeeps()
{
    QFETCH(Polyline, points);
    QFETCH(bool, closed);
    QFETCH(Polyline, expected);
    StraightRunReduction(0.1).reduce(points, closed);
    QCOMPARE(points.size(), expected.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        const bool same
            = points[i] == expected[i] || (std::isnan(points[i].x()) && std::isnan(expected[i].x()));
        QVERIFY2(same, qPrintable(QStringLiteral("point %1").arg(i)));
    }
}

void tst_DeviceGeometry::crowdedPointsGo()
{
    Polyline points { { 0, 0 }, { 0.1, 0 }, { 0.2, 0.1 }, { 1, 0 }, { 1.1, 0 } };
    dropCrowdedPoints(points);
    QCOMPARE(points, (Polyline { { 0, 0 }, { 1, 0 }, { 1.1, 0 } }));
}

void tst_DeviceGeometry::bandedFillLooksTheSame_data()
{
    QTest::addColumn<BandedFill::Contours>("contours");
    QTest::addColumn<Qt::FillRule>("rule");

    QTest::newRow("a dense circle") << BandedFill::Contours { circle({ 200, 150 }, 120.3, 5000) }
                                    << Qt::OddEvenFill;
    // Edges cross over and over: every point's winding number must survive the cuts.
    QTest::newRow("a crossing star, winding")
        << BandedFill::Contours { crossingStar({ 200.3, 150.6 }, 140.7) } << Qt::WindingFill;
    QTest::newRow("a crossing star, even-odd")
        << BandedFill::Contours { crossingStar({ 200.3, 150.6 }, 140.7) } << Qt::OddEvenFill;
    QTest::newRow("a ring: a contour with a hole")
        << BandedFill::Contours { circle({ 190.5, 140.25 }, 130, 3000), circle({ 200, 150 }, 60, 3000) }
        << Qt::OddEvenFill;
}

void tst_DeviceGeometry::bandedFillLooksTheSame()
{
    QFETCH(BandedFill::Contours, contours);
    QFETCH(Qt::FillRule, rule);
    QImage whole = blankPicture();
    {
        QPainterPath path;
        path.setFillRule(rule);
        for (const Polyline &contour : contours)
            path.addPolygon(QPolygonF(QList<QPointF>(contour.begin(), contour.end())));
        QPainter painter(&whole);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(path, Qt::darkBlue);
    }
    QImage banded = blankPicture();
    {
        QPainter painter(&banded);
        painter.setRenderHint(QPainter::Antialiasing);
        QVERIFY(BandedFill::suits(painter));
        BandedFill::fill(painter, contours, rule, Qt::darkBlue);
    }
    // Only where a cut crosses an edge may a pixel differ, by how the crossing point is rounded.
    QVERIFY2(largestChannelDifference(whole, banded) <= 4,
        qPrintable(QString::number(largestChannelDifference(whole, banded))));
}

void tst_DeviceGeometry::bandsOnlyForPicturesPixelForPixel()
{
    QImage picture = blankPicture();
    QPainter painter(&picture);
    QVERIFY(BandedFill::suits(painter));
    painter.translate(10, 20);
    QVERIFY(BandedFill::suits(painter));
    painter.translate(0, 0.5);
    QVERIFY(!BandedFill::suits(painter)); // rows would fall between pixels
    painter.resetTransform();
    painter.scale(2, 2);
    QVERIFY(!BandedFill::suits(painter));
    painter.end();

    QTemporaryDir dir;
    QPdfWriter pdf(dir.filePath(QStringLiteral("page.pdf")));
    QPainter pdfPainter(&pdf);
    QVERIFY(!BandedFill::suits(pdfPainter)); // a PDF keeps every outline whole
}

void tst_DeviceGeometry::convexLoopAreaLooksLikeTheStroke_data()
{
    QTest::addColumn<Polyline>("points");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<Qt::PenJoinStyle>("join");
    QTest::addColumn<double>("width");
    QTest::addColumn<bool>("hole");

    const Polyline pad = circle({ 100.3, 80.6 }, 1.1, 9);
    const Polyline track { { 40.2, 30.5 }, { 240.7, 130.1 }, { 239.8, 131.9 }, { 39.3, 32.3 },
        { 40.2, 30.5 } };
    QTest::newRow("a pad two pixels across, ends meeting") << pad << false << Qt::MiterJoin << 2.6 << false;
    QTest::newRow("a track, ends meeting") << track << false << Qt::MiterJoin << 2.6 << false;
    QTest::newRow("a closed track") << track << true << Qt::MiterJoin << 2.6 << false;
    QTest::newRow("bevelled") << track << false << Qt::BevelJoin << 2.6 << false;
    QTest::newRow("a larger pad leaves a hole")
        << circle({ 150.5, 90.25 }, 12.3, 24) << false << Qt::MiterJoin << 3.0 << true;
    QTest::newRow("a square with a hole, turning the other way")
        << Polyline { { 50, 50 }, { 50, 150 }, { 150, 150 }, { 150, 50 }, { 50, 50 } } << true
        << Qt::MiterJoin << 5.5 << true;
}

void tst_DeviceGeometry::convexLoopAreaLooksLikeTheStroke()
{
    QFETCH(Polyline, points);
    QFETCH(bool, closed);
    QFETCH(Qt::PenJoinStyle, join);
    QFETCH(double, width);
    QFETCH(bool, hole);
    const QPen pen(Qt::black, width, Qt::SolidLine, Qt::FlatCap, join);
    Polyline outer;
    Polyline inner;
    QVERIFY(ConvexLoopStroke().outline(points, closed, pen, outer, inner));
    QCOMPARE(!inner.empty(), hole);

    QImage stroked = blankPicture();
    {
        QPainter painter(&stroked);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(pen);
        if (closed)
            painter.drawPolygon(points.data(), int(points.size()));
        else
            painter.drawPolyline(points.data(), int(points.size()));
    }
    QImage filled = blankPicture();
    {
        QPainterPath area;
        area.addPolygon(QPolygonF(QList<QPointF>(outer.begin(), outer.end())));
        area.addPolygon(QPolygonF(QList<QPointF>(inner.begin(), inner.end())));
        QPainter painter(&filled);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(area, Qt::black);
    }
    // Qt's outline overlaps itself inside the corners, and where an overlap meets the edge of a
    // hole Qt counts a pixel darker than it is; elsewhere the two agree to rounding.
    QVERIFY2(largestChannelDifference(stroked, filled) <= 64,
        qPrintable(QString::number(largestChannelDifference(stroked, filled))));
    const double ink = inkAmount(filled);
    QVERIFY2(std::abs(inkAmount(stroked) - ink) <= 0.02 * ink,
        qPrintable(QStringLiteral("%1 against %2").arg(inkAmount(stroked)).arg(ink)));
}

void tst_DeviceGeometry::convexLoopLeftToQt_data()
{
    QTest::addColumn<Polyline>("points");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QPen>("pen");

    const QPen pen(Qt::black, 2.6, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    const Polyline square { { 50, 50 }, { 60, 50 }, { 60, 60 }, { 50, 60 }, { 50, 50 } };
    QTest::newRow("an open line that does not come back")
        << Polyline { { 0, 0 }, { 10, 0 }, { 10, 10 } } << false << pen;
    QTest::newRow("a concave loop") << Polyline { { 0, 0 }, { 10, 0 }, { 5, 2 }, { 10, 10 }, { 0, 10 },
        { 0, 0 } } << true << pen;
    QTest::newRow("a loop that goes round twice") << Polyline { { 0, 0 }, { 10, 0 }, { 10, 10 }, { 0, 10 },
        { 0, 0 }, { 10, 0 }, { 10, 10 }, { 0, 10 }, { 0, 0 } }
                                                  << true << pen;
    QTest::newRow("round joins") << square << true
                                 << QPen(Qt::black, 2.6, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
    QTest::newRow("square ends where it starts")
        << square << false << QPen(Qt::black, 2.6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    QTest::newRow("a spike past the miter limit")
        << Polyline { { 0, 0 }, { 100, 0 }, { 0, 2 }, { 0, 0 } } << true << pen;
    QTest::newRow("a line, not a loop") << Polyline { { 0, 0 }, { 10, 0 }, { 0, 0 } } << false << pen;
    // Shrunk by half the pen, the short top edge would turn round: the hole has one corner fewer.
    QTest::newRow("a hole that loses an edge") << Polyline { { 0, 0 }, { 100, 0 }, { 100, 40 }, { 52, 60 },
        { 48, 60 }, { 0, 40 } } << true << QPen(Qt::black, 30, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin);
}

void tst_DeviceGeometry::convexLoopLeftToQt()
{
    QFETCH(Polyline, points);
    QFETCH(bool, closed);
    QFETCH(QPen, pen);
    Polyline outer;
    Polyline inner;
    QVERIFY(!ConvexLoopStroke().outline(points, closed, pen, outer, inner));
}

QTEST_MAIN(tst_DeviceGeometry)
#include "tst_devicegeometry.moc"
