// Where label glyphs go: upright whichever way the label runs.

#include "SamplePage.h"
#include "plotviewer/render/GlyphFrame.h"

#include <QTest>

using namespace plotviewer;

class tst_GlyphFrame : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void frame_data();
    void frame();
};

void tst_GlyphFrame::frame_data()
{
    QTest::addColumn<Point>("advance");
    QTest::addColumn<Point>("up");
    QTest::addColumn<Point>("secondOrigin");
    QTest::addColumn<Point>("across");

    // Glyph bodies 10 wide, cap height 20, first cell at (100, 100).
    QTest::newRow("left to right") << Point { 15, 0 } << Point { 0, 20 } << Point { 115, 100 }
                                   << Point { 10, 0 };
    QTest::newRow("rotated a quarter turn")
        << Point { 0, 15 } << Point { -20, 0 } << Point { 100, 115 } << Point { 0, 10 };
    QTest::newRow("slanted keeps the baseline")
        << Point { 15, 0 } << Point { 5, 20 } << Point { 115, 100 } << Point { 10, 0 };
    QTest::newRow("right to left stays upright")
        << Point { -15, 0 } << Point { 0, 20 } << Point { 85, 100 } << Point { 10, 0 };
    QTest::newRow("stacked downwards stays upright")
        << Point { 0, -30 } << Point { 0, 20 } << Point { 100, 70 } << Point { 10, 0 };
    QTest::newRow("stacked upwards stays upright")
        << Point { 0, 30 } << Point { 0, 20 } << Point { 100, 130 } << Point { 10, 0 };
    QTest::newRow("no advance") << Point { 0, 0 } << Point { 0, 20 } << Point { 100, 100 } << Point { 10, 0 };
}

void tst_GlyphFrame::frame()
{
    QFETCH(Point, advance);
    QFETCH(Point, up);
    QFETCH(Point, secondOrigin);
    QFETCH(Point, across);
    TextRun run;
    run.text = U"AB";
    run.origin = { 100, 100 };
    run.advance = advance;
    run.up = up;
    run.width = 10;
    const GlyphFrame frame = GlyphFrame::forCharacter(run, 1);
    QCOMPARE(frame.origin.x, secondOrigin.x);
    QCOMPARE(frame.origin.y, secondOrigin.y);
    QCOMPARE(frame.across.x, across.x);
    QCOMPARE(frame.across.y, across.y);
    const Point top = frame.map({ 0, 1 });
    QCOMPARE(top.x, secondOrigin.x + up.x);
    QCOMPARE(top.y, secondOrigin.y + up.y);
}

QTEST_APPLESS_MAIN(tst_GlyphFrame)
#include "tst_glyphframe.moc"
