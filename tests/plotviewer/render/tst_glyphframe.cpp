// Where label glyphs go: the run's vectors place, turn and mirror each character.

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
    QTest::addColumn<Point>("across");
    QTest::addColumn<Point>("secondOrigin");
    QTest::addColumn<Point>("topRight"); // glyph point (1, 1) of the second character

    // Glyph bodies 10 wide, cap height 20, first cell at (100, 100).
    QTest::newRow("left to right") << Point { 15, 0 } << Point { 0, 20 } << Point { 10, 0 }
                                   << Point { 115, 100 } << Point { 125, 120 };
    QTest::newRow("rotated a quarter turn")
        << Point { 0, 15 } << Point { -20, 0 } << Point { 0, 10 } << Point { 100, 115 } << Point { 80, 125 };
    QTest::newRow("slanted keeps the baseline")
        << Point { 15, 0 } << Point { 5, 20 } << Point { 10, 0 } << Point { 115, 100 } << Point { 130, 120 };
    QTest::newRow("right to left, upright")
        << Point { -15, 0 } << Point { 0, 20 } << Point { 10, 0 } << Point { 85, 100 } << Point { 95, 120 };
    QTest::newRow("mirrored left to right")
        << Point { -15, 0 } << Point { 0, 20 } << Point { -10, 0 } << Point { 85, 100 } << Point { 75, 120 };
    QTest::newRow("mirrored about the baseline")
        << Point { 15, 0 } << Point { 0, -20 } << Point { 10, 0 } << Point { 115, 100 } << Point { 125, 80 };
}

void tst_GlyphFrame::frame()
{
    QFETCH(Point, advance);
    QFETCH(Point, up);
    QFETCH(Point, across);
    QFETCH(Point, secondOrigin);
    QFETCH(Point, topRight);
    TextRun run;
    run.text = U"AB";
    run.origin = { 100, 100 };
    run.advance = advance;
    run.up = up;
    run.across = across;
    const GlyphFrame frame = GlyphFrame::forCharacter(run, 1);
    QCOMPARE(frame.origin.x, secondOrigin.x);
    QCOMPARE(frame.origin.y, secondOrigin.y);
    const Point corner = frame.map({ 1, 1 });
    QCOMPARE(corner.x, topRight.x);
    QCOMPARE(corner.y, topRight.y);
}

QTEST_APPLESS_MAIN(tst_GlyphFrame)
#include "tst_glyphframe.moc"
