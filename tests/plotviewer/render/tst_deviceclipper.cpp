// Clipping in double precision, and pages with coordinates far beyond what QPainter can take.

#include "PictureInk.h"
#include "SamplePage.h"
#include "plotviewer/render/DeviceClipper.h"
#include "plotviewer/render/PlotPicture.h"

#include <QTest>

#include <limits>

using namespace plotviewer;
using namespace plotviewer::test;

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double huge = 1e12;
const QRectF bounds(0, 0, 100, 100);
constexpr Rect pageFrame { 0, 0, 1000, 1000 };

double shoelaceArea(const std::vector<QPointF> &polygon)
{
    double twice = 0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const QPointF a = polygon[i];
        const QPointF b = polygon[(i + 1) % polygon.size()];
        twice += a.x() * b.y() - b.x() * a.y();
    }
    return std::abs(twice) / 2;
}

} // namespace

class tst_DeviceClipper : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clipSegment_data();
    void clipSegment();
    void clipPolygon_data();
    void clipPolygon();
    void absurdCoordinates_data();
    void absurdCoordinates();
};

void tst_DeviceClipper::clipSegment_data()
{
    QTest::addColumn<QPointF>("a");
    QTest::addColumn<QPointF>("b");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<QPointF>("clippedA");
    QTest::addColumn<QPointF>("clippedB");

    QTest::newRow("inside stays") << QPointF(10, 10) << QPointF(90, 20) << true << QPointF(10, 10)
                                  << QPointF(90, 20);
    QTest::newRow("crossing both sides")
        << QPointF(-huge, 50) << QPointF(huge, 50) << true << QPointF(0, 50) << QPointF(100, 50);
    QTest::newRow("leaving through the bottom")
        << QPointF(50, 50) << QPointF(50, 1e30) << true << QPointF(50, 50) << QPointF(50, 100);
    QTest::newRow("huge diagonal") << QPointF(-huge, -huge) << QPointF(huge, huge) << true << QPointF(0, 0)
                                   << QPointF(100, 100);
    QTest::newRow("outside entirely")
        << QPointF(-10, -10) << QPointF(-5, 200) << false << QPointF() << QPointF();
    QTest::newRow("passing a corner")
        << QPointF(90, -20) << QPointF(130, 20) << false << QPointF() << QPointF();
    QTest::newRow("not a number") << QPointF(notANumber, 10) << QPointF(50, 50) << false << QPointF()
                                  << QPointF();
    QTest::newRow("infinite end") << QPointF(50, 50) << QPointF(qInf(), 50) << false << QPointF()
                                  << QPointF();
    QTest::newRow("span overflows double")
        << QPointF(-1e308, 50) << QPointF(1e308, 50) << false << QPointF() << QPointF();
}

void tst_DeviceClipper::clipSegment()
{
    QFETCH(QPointF, a);
    QFETCH(QPointF, b);
    QFETCH(bool, visible);
    const DeviceClipper clipper(bounds);
    QCOMPARE(clipper.clipSegment(a, b), visible);
    if (visible) {
        QFETCH(QPointF, clippedA);
        QFETCH(QPointF, clippedB);
        QCOMPARE(a, clippedA);
        QCOMPARE(b, clippedB);
    }
}

void tst_DeviceClipper::clipPolygon_data()
{
    QTest::addColumn<std::vector<QPointF>>("polygon");
    QTest::addColumn<double>("area");

    QTest::newRow("inside keeps its area")
        << std::vector<QPointF> { { 10, 10 }, { 30, 10 }, { 30, 30 }, { 10, 30 } } << 400.0;
    QTest::newRow("covering everything")
        << std::vector<QPointF> { { -huge, -huge }, { huge, -huge }, { 0, huge } } << 10000.0;
    QTest::newRow("half over the left edge")
        << std::vector<QPointF> { { -50, 0 }, { 50, 0 }, { 50, 100 }, { -50, 100 } } << 5000.0;
    QTest::newRow("outside entirely")
        << std::vector<QPointF> { { 200, 200 }, { 300, 200 }, { 300, 300 } } << 0.0;
    QTest::newRow("non-finite vertices are dropped") << std::vector<QPointF> { { 10, 10 }, { notANumber, 5 },
        { 30, 10 }, { 30, 30 }, { qInf(), 0 }, { 10, 30 } }
                                                     << 400.0;
}

void tst_DeviceClipper::clipPolygon()
{
    QFETCH(std::vector<QPointF>, polygon);
    QFETCH(double, area);
    DeviceClipper(bounds).clipPolygon(polygon);
    QVERIFY2(
        std::abs(shoelaceArea(polygon) - area) < 1e-6, qPrintable(QString::number(shoelaceArea(polygon))));
    for (const QPointF p : polygon)
        QVERIFY(bounds.adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(p));
}

void tst_DeviceClipper::absurdCoordinates_data()
{
    QTest::addColumn<Page>("page");
    QTest::addColumn<QList<QPoint>>("inked");
    QTest::addColumn<QList<QPoint>>("blank");

    // 100 x 100 pixels for 1000 x 1000 units; device y runs down.
    const auto page = [] { return SamplePage().frame(pageFrame); };
    QTest::newRow("hairline across the page")
        << page().stroke({ { -huge, 500 }, { huge, 500 } }).build()
        << QList<QPoint> { { 0, 50 }, { 50, 50 }, { 99, 50 } } << QList<QPoint> { { 50, 20 } };
    QTest::newRow("wide line across the page")
        << page().stroke({ { -huge, 500 }, { huge, 500 } }, pen({ 0, 0, 0 }, 100)).build()
        << QList<QPoint> { { 0, 47 }, { 99, 53 } } << QList<QPoint> { { 50, 20 }, { 50, 80 } };
    QTest::newRow("wide polyline leaving and coming back")
        << page()
               .stroke({ { 100, 500 }, { huge, 500 }, { huge, 800 }, { 100, 800 } }, pen({ 0, 0, 0 }, 60))
               .build()
        << QList<QPoint> { { 50, 50 }, { 50, 20 }, { 99, 50 } } << QList<QPoint> { { 50, 35 }, { 5, 50 } };
    QTest::newRow("diagonal through the page")
        << page().stroke({ { -huge, -huge }, { huge, huge } }).build()
        << QList<QPoint> { { 10, 89 }, { 50, 49 }, { 89, 10 } } << QList<QPoint> { { 10, 10 }, { 89, 89 } };
    QTest::newRow("fill covering the page")
        << page().fill({ { { -1e15, -1e15 }, { 1e15, -1e15 }, { 0, 1e15 } } }, FillStyle {}).build()
        << QList<QPoint> { { 0, 0 }, { 99, 0 }, { 50, 50 }, { 0, 99 } } << QList<QPoint> {};
    QTest::newRow("not-a-number vertex drops its segments only")
        << page()
               .stroke({ { 100, 100 }, { 900, 100 }, { notANumber, notANumber }, { 900, 900 }, { 100, 900 } },
                   pen({ 0, 0, 0 }, 20))
               .build()
        << QList<QPoint> { { 50, 90 }, { 50, 10 } } << QList<QPoint> { { 90, 50 } };
    QTest::newRow("infinite point beside a good line")
        << page().stroke({ { 500, 500 }, { qInf(), 500 } }).stroke({ { 500, 100 }, { 500, 900 } }).build()
        << QList<QPoint> { { 50, 20 } } << QList<QPoint> { { 80, 50 } };
    QTest::newRow("label far off the page")
        << page().text(U"FAR", { huge, huge }, 500).text(U"\u00e9", { -3 * huge, 0 }, huge).build()
        << QList<QPoint> {} << QList<QPoint> { { 0, 0 }, { 50, 50 }, { 99, 99 } };
    QTest::newRow("huge label over the page")
        << page().text(U"I", { 500 - 0.5 * huge, -0.5 * huge }, huge).build() << QList<QPoint> { { 50, 50 } }
        << QList<QPoint> {};
}

void tst_DeviceClipper::absurdCoordinates()
{
    QFETCH(Page, page);
    QFETCH(QList<QPoint>, inked);
    QFETCH(QList<QPoint>, blank);
    if (!StrokeFont::systemDefault() && !page.texts.empty())
        QSKIP("the Hershey fonts (hershey-fonts-data) are not installed");
    const QImage picture = renderPlotPicture(page, QSize(100, 100), {});
    QCOMPARE(picture.size(), QSize(100, 100));
    for (const QPoint p : inked)
        QVERIFY2(picture.pixelColor(p).lightness() < 160,
            qPrintable(QStringLiteral("(%1, %2) is blank").arg(p.x()).arg(p.y())));
    for (const QPoint p : blank)
        QVERIFY2(picture.pixelColor(p) == QColor(Qt::white),
            qPrintable(QStringLiteral("(%1, %2) is inked").arg(p.x()).arg(p.y())));
}

QTEST_MAIN(tst_DeviceClipper)
#include "tst_deviceclipper.moc"
