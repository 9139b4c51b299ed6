// Fitting and actual-size placement of a page on a device.

#include "SamplePage.h"
#include "plotviewer/render/PageExtent.h"
#include "plotviewer/render/PageTransform.h"

#include <QTest>

using namespace plotviewer;
using namespace plotviewer::test;

class tst_PageTransform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void place_data();
    void place();
    void mapToPlotInvertsMap();
    void extent_data();
    void extent();
};

void tst_PageTransform::place_data()
{
    QTest::addColumn<Placement>("placement");
    QTest::addColumn<Rect>("source");
    QTest::addColumn<QRectF>("target");
    QTest::addColumn<QSizeF>("dpi");
    QTest::addColumn<Point>("plot");
    QTest::addColumn<QPointF>("device");

    const QSizeF square96(96, 96);
    QTest::newRow("fit wide page: top left corner centred vertically")
        << Placement::Fit << Rect { 0, 0, 200, 100 } << QRectF(0, 0, 100, 100) << square96 << Point { 0, 100 }
        << QPointF(0, 25);
    QTest::newRow("fit wide page: y flips")
        << Placement::Fit << Rect { 0, 0, 200, 100 } << QRectF(0, 0, 100, 100) << square96 << Point { 200, 0 }
        << QPointF(100, 75);
    QTest::newRow("fit tall page: centred horizontally")
        << Placement::Fit << Rect { 0, 0, 100, 200 } << QRectF(0, 0, 200, 100) << square96 << Point { 0, 200 }
        << QPointF(75, 0);
    QTest::newRow("fit into an offset target")
        << Placement::Fit << Rect { 0, 0, 100, 100 } << QRectF(10, 20, 50, 50) << square96
        << Point { 100, 100 } << QPointF(60, 20);
    QTest::newRow("fit with negative plot coordinates")
        << Placement::Fit << Rect { -500, -500, 500, 500 } << QRectF(0, 0, 100, 100) << square96
        << Point { 0, 0 } << QPointF(50, 50);
    QTest::newRow("fit keeps the shape on non-square pixels")
        << Placement::Fit << Rect { 0, 0, 100, 100 } << QRectF(0, 0, 100, 100) << QSizeF(200, 100)
        << Point { 0, 100 } << QPointF(0, 25);
    QTest::newRow("actual size: an inch is 96 dots, centred")
        << Placement::ActualSize << Rect { 0, 0, 1016, 1016 } << QRectF(0, 0, 400, 400) << square96
        << Point { 0, 1016 } << QPointF(152, 152);
    QTest::newRow("actual size: bottom right")
        << Placement::ActualSize << Rect { 0, 0, 1016, 1016 } << QRectF(0, 0, 400, 400) << square96
        << Point { 1016, 0 } << QPointF(248, 248);
    QTest::newRow("actual size larger than the target overflows it")
        << Placement::ActualSize << Rect { 0, 0, 10160, 1016 } << QRectF(0, 0, 400, 400) << square96
        << Point { 0, 0 } << QPointF(-280, 248);
    QTest::newRow("actual size on non-square pixels")
        << Placement::ActualSize << Rect { 0, 0, 1016, 1016 } << QRectF(0, 0, 1000, 1000) << QSizeF(600, 300)
        << Point { 0, 0 } << QPointF(200, 650);
}

void tst_PageTransform::place()
{
    QFETCH(Placement, placement);
    QFETCH(Rect, source);
    QFETCH(QRectF, target);
    QFETCH(QSizeF, dpi);
    QFETCH(Point, plot);
    QFETCH(QPointF, device);
    const QPointF mapped = PageTransform::place(placement, source, target, dpi).map(plot);
    QVERIFY2(std::abs(mapped.x() - device.x()) < 1e-9 && std::abs(mapped.y() - device.y()) < 1e-9,
        qPrintable(QStringLiteral("mapped to (%1, %2)").arg(mapped.x()).arg(mapped.y())));
}

void tst_PageTransform::mapToPlotInvertsMap()
{
    const PageTransform transform
        = PageTransform::fit({ -300, 100, 700, 600 }, QRectF(5, 5, 320, 200), { 96, 96 });
    const QPointF topLeft = transform.map({ -300, 600 });
    const QPointF bottomRight = transform.map({ 700, 100 });
    const Rect back = transform.mapToPlot(QRectF(topLeft, bottomRight));
    QVERIFY(std::abs(back.left + 300) < 1e-9 && std::abs(back.right - 700) < 1e-9);
    QVERIFY(std::abs(back.bottom - 100) < 1e-9 && std::abs(back.top - 600) < 1e-9);
}

void tst_PageTransform::extent_data()
{
    QTest::addColumn<Page>("page");
    QTest::addColumn<Rect>("expected");

    const auto inked = [](Rect ink) {
        Page page = SamplePage().stroke({ { ink.left, ink.bottom } }).build();
        page.inkBounds = ink;
        return page;
    };
    Page framed = inked({ 100, 100, 20000, 200 });
    framed.frame = { 0, 0, 11176, 8636 };
    QTest::newRow("the frame wins over the ink") << framed << framed.frame;
    QTest::newRow("ink plus three percent of its longer side")
        << inked({ 0, 0, 10000, 5000 }) << Rect { -300, -300, 10300, 5300 };
    QTest::newRow("a lone dot gets a millimetre around it")
        << inked({ 50, 50, 50, 50 }) << Rect { 10, 10, 90, 90 };
    QTest::newRow("nothing drawn, no frame") << Page {} << Rect {};
    QTest::newRow("non-finite ink is no extent") << inked({ 0, 0, qInf(), 10 }) << Rect {};
}

void tst_PageTransform::extent()
{
    QFETCH(Page, page);
    QFETCH(Rect, expected);
    const Rect extent = pageExtent(page);
    QCOMPARE(extent.left, expected.left);
    QCOMPARE(extent.bottom, expected.bottom);
    QCOMPARE(extent.right, expected.right);
    QCOMPARE(extent.top, expected.top);
}

QTEST_APPLESS_MAIN(tst_PageTransform)
#include "tst_pagetransform.moc"
