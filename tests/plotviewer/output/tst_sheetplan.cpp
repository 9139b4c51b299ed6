// How drawings at actual size are laid out on sheets of paper: counts, orientation, reading
// order, overlaps and the ink kept printable, without a printer.

#include "plotviewer/files/SheetPlan.h"

#include <QPageSize>
#include <QTest>

using namespace plotviewer;

namespace {

using Orientation = QPageLayout::Orientation;

QSizeF portrait(QPageSize::PageSizeId id)
{
    return QPageSize(id).size(QPageSize::Millimeter);
}

/// The paper turned both ways (the first as asked), with `margin` on every edge.
QList<SheetPaper> papers(QSizeF size, double margin, Orientation first)
{
    const SheetPaper upright { Orientation::Portrait, size, QMarginsF(margin, margin, margin, margin) };
    const SheetPaper turned { Orientation::Landscape, size.transposed(), upright.margins };
    return first == Orientation::Portrait ? QList<SheetPaper> { upright, turned }
                                          : QList<SheetPaper> { turned, upright };
}

SheetDrawing wholeDrawing(QSizeF size)
{
    return { size, QRectF(QPointF(0, 0), size) };
}

/// The part of the drawing, relative to its extent, that a sheet's tile shows.
QRectF part(const Sheet &sheet)
{
    return sheet.tile.translated(-sheet.extentOrigin);
}

/// The plan for the current row of sheets_data(): the paper turned as the drawing is first, or
/// only as the row forces it.
SheetPlan rowPlan()
{
    QFETCH(QSizeF, drawing);
    QFETCH(QSizeF, paper);
    QFETCH(double, margin);
    QFETCH(bool, forced);
    QFETCH(Orientation, orientation);
    const Orientation shape
        = drawing.width() > drawing.height() ? Orientation::Landscape : Orientation::Portrait;
    QList<SheetPaper> ways = papers(paper, margin, forced ? orientation : shape);
    if (forced)
        ways.removeLast();
    return SheetPlan::choose(wholeDrawing(drawing), ways);
}

bool near(double a, double b)
{
    return std::abs(a - b) < 1e-6;
}

} // namespace

class tst_SheetPlan : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sheets_data();
    void sheets();
    void tilesCoverTheInkInReadingOrder_data() { sheets_data(); }
    void tilesCoverTheInkInReadingOrder();
    void oneSheetKeepsTheInkPrintable_data();
    void oneSheetKeepsTheInkPrintable();
    void refusedDrawings_data();
    void refusedDrawings();
};

void tst_SheetPlan::sheets_data()
{
    QTest::addColumn<QSizeF>("drawing");
    QTest::addColumn<QSizeF>("paper");
    QTest::addColumn<double>("margin");
    QTest::addColumn<bool>("forced"); // only the drawing's own orientation may be used
    QTest::addColumn<Orientation>("orientation");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");

    // A4 without margins: tiles are 190 x 277 mm (4 mm kept free and the 6 mm band each side),
    // each moving on by 180 or 267 mm past the 10 mm it shares.
    const QSizeF a4 = portrait(QPageSize::A4);
    QTest::newRow("A1 on A4: 15 portrait sheets beat 16 landscape ones")
        << QSizeF(841, 594) << a4 << 0.0 << false << Orientation::Portrait << 3 << 5;
    QTest::newRow("A0 on A4: 25 landscape sheets beat 28 portrait ones")
        << QSizeF(1189, 841) << a4 << 0.0 << false << Orientation::Landscape << 5 << 5;
    QTest::newRow("A3 on A4, landscape")
        << QSizeF(420, 297) << a4 << 0.0 << false << Orientation::Landscape << 2 << 2;
    QTest::newRow("A3 on A4 forced upright")
        << QSizeF(420, 297) << a4 << 0.0 << true << Orientation::Portrait << 2 << 3;
    QTest::newRow("tall strip turns across its shape")
        << QSizeF(200, 600) << a4 << 0.0 << false << Orientation::Landscape << 4 << 1;
    QTest::newRow("banner") << QSizeF(5000, 300) << a4 << 0.0 << false << Orientation::Landscape << 2 << 19;
    QTest::newRow("exactly two tiles wide")
        << QSizeF(370, 250) << a4 << 0.0 << false << Orientation::Portrait << 1 << 2;
    QTest::newRow("a hair over two tiles wide")
        << QSizeF(370.01, 250) << a4 << 0.0 << false << Orientation::Portrait << 1 << 3;
    // n tiles cover n steps and the one overlap: 3 x 180 + 10 mm across, 2 x 180 + 10 down when
    // the sheets lie on their side.
    QTest::newRow("exactly three tiles wide")
        << QSizeF(550, 250) << a4 << 0.0 << false << Orientation::Portrait << 1 << 3;
    QTest::newRow("a hair over three tiles wide")
        << QSizeF(550.01, 250) << a4 << 0.0 << false << Orientation::Portrait << 1 << 4;
    QTest::newRow("exactly two tiles high, on their side")
        << QSizeF(540, 370) << a4 << 0.0 << true << Orientation::Landscape << 2 << 2;
    QTest::newRow("a hair over two tiles high, on their side")
        << QSizeF(540, 370.01) << a4 << 0.0 << true << Orientation::Landscape << 3 << 2;
    // Fits the printable area: one sheet, as the drawing is turned.
    QTest::newRow("A4 on A4 without margins")
        << QSizeF(297, 210) << a4 << 0.0 << false << Orientation::Landscape << 1 << 1;
    QTest::newRow("small drawing") << QSizeF(100, 50) << a4 << 5.0 << false << Orientation::Landscape << 1
                                   << 1;
    QTest::newRow("forced upright though turned it would fit")
        << QSizeF(280, 150) << a4 << 5.0 << true << Orientation::Portrait << 1 << 2;
    // Inked to the edge of A4 with 5 mm margins: tiles 275 x 188 mm across, two side by side
    // upright, the drawing's height within one tile.
    QTest::newRow("A4 inked to its edges on A4 with margins")
        << QSizeF(297, 210) << a4 << 5.0 << false << Orientation::Portrait << 1 << 2;
    // Letter with quarter-inch margins: tiles 191.2 x 254.7 mm.
    QTest::newRow("A2 on Letter") << QSizeF(594, 420) << portrait(QPageSize::Letter) << 6.35 << false
                                  << Orientation::Portrait << 2 << 4;
}

void tst_SheetPlan::sheets()
{
    QFETCH(Orientation, orientation);
    QFETCH(int, rows);
    QFETCH(int, columns);
    const SheetPlan plan = rowPlan();
    QCOMPARE(plan.orientation(), orientation);
    QCOMPARE(plan.rows(), rows);
    QCOMPARE(plan.columns(), columns);
    QCOMPARE(plan.sheetCount(), qint64(rows) * columns);
    QCOMPARE(plan.fitsOneSheet(), rows * columns == 1);
    QVERIFY(plan.isPrintable());
}

void tst_SheetPlan::tilesCoverTheInkInReadingOrder()
{
    QFETCH(QSizeF, drawing);
    QFETCH(QSizeF, paper);
    QFETCH(double, margin);
    QFETCH(Orientation, orientation);
    const SheetPlan plan = rowPlan();
    if (plan.fitsOneSheet()) {
        QVERIFY(plan.sheet(0).tile.isNull()); // no marks; oneSheetKeepsTheInkPrintable() places it
        return;
    }
    const QRectF sheetArea(QPointF(0, 0), orientation == Orientation::Portrait ? paper : paper.transposed());
    QRectF covered;
    for (int i = 0; i < plan.sheetCount(); ++i) {
        const Sheet sheet = plan.sheet(i);
        QCOMPARE(sheet.row, i / plan.columns());
        QCOMPARE(sheet.column, i % plan.columns());
        // The tile and its band of marks lie within the printable area, at least 4 mm in.
        const double edge = std::max(margin, SheetPlan::leastMargin) + SheetPlan::markBand;
        QVERIFY(sheetArea.adjusted(edge - 1e-6, edge - 1e-6, 1e-6 - edge, 1e-6 - edge).contains(sheet.tile));
        // The drawing is clipped to the tile and to its own extent.
        QVERIFY(sheet.tile.contains(sheet.clip));
        QVERIFY(QRectF(sheet.extentOrigin, drawing).adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(sheet.clip));
        // Each tile starts where its left and upper neighbours' end, less the overlap.
        if (sheet.column > 0) {
            const QRectF left = part(plan.sheet(i - 1));
            QVERIFY(near(part(sheet).left(), left.right() - SheetPlan::overlap));
            QVERIFY(near(part(sheet).top(), left.top()));
        }
        if (sheet.row > 0) {
            const QRectF above = part(plan.sheet(i - plan.columns()));
            QVERIFY(near(part(sheet).top(), above.bottom() - SheetPlan::overlap));
        }
        covered = covered.united(part(sheet));
    }
    QVERIFY2(covered.contains(QRectF(QPointF(0, 0), drawing)),
        qPrintable(QStringLiteral("the tiles cover %1,%2 to %3,%4 mm")
                       .arg(covered.left())
                       .arg(covered.top())
                       .arg(covered.right())
                       .arg(covered.bottom())));
    // Centred: the spare paper is shared equally by the outer tiles.
    QVERIFY(near(-covered.left(), covered.right() - drawing.width()));
    QVERIFY(near(-covered.top(), covered.bottom() - drawing.height()));
}

void tst_SheetPlan::oneSheetKeepsTheInkPrintable_data()
{
    QTest::addColumn<QSizeF>("extent");
    QTest::addColumn<QRectF>("ink");
    QTest::addColumn<QPointF>("expectedOrigin"); // on the landscape A4 sheet, 5 mm margins

    // Centred on the paper, as the page: A4 landscape is 297 x 210 mm.
    QTest::newRow("small page, centred") << QSizeF(100, 50) << QRectF(10, 10, 80, 30) << QPointF(98.5, 80);
    QTest::newRow("ink beyond the printable edge when centred, moved in")
        << QSizeF(293, 200) << QRectF(0, 0, 250, 150) << QPointF(5, 5);
    // A large frame with a small drawing in its bottom right corner: the drawing comes onto the sheet.
    QTest::newRow("small drawing in a large frame")
        << QSizeF(1189, 841) << QRectF(1089, 741, 100, 100) << QPointF(292 - 1189, 205 - 841);
}

void tst_SheetPlan::oneSheetKeepsTheInkPrintable()
{
    QFETCH(QSizeF, extent);
    QFETCH(QRectF, ink);
    QFETCH(QPointF, expectedOrigin);
    const SheetPlan plan
        = SheetPlan::choose({ extent, ink }, papers(portrait(QPageSize::A4), 5, Orientation::Landscape));
    QVERIFY(plan.fitsOneSheet());
    const Sheet sheet = plan.sheet(0);
    QVERIFY(sheet.tile.isNull());
    QCOMPARE(sheet.extentOrigin, expectedOrigin);
    QCOMPARE(sheet.clip, QRectF(0, 0, 297, 210));
}

void tst_SheetPlan::refusedDrawings_data()
{
    QTest::addColumn<QSizeF>("drawing");
    QTest::addColumn<QSizeF>("paper");
    QTest::addColumn<qint64>("sheets");

    // 10 m square on A4 landscape: 38 columns of 267 mm and 56 rows of 180 mm.
    QTest::newRow("more sheets than allowed")
        << QSizeF(10000, 10000) << portrait(QPageSize::A4) << qint64(38 * 56);
    QTest::newRow("coordinates far beyond any paper")
        << QSizeF(5e7, 5e7) << portrait(QPageSize::A4) << qint64(187266) * 277778;
    // 25 mm labels leave 5 mm tiles, which cannot move on by more than they overlap.
    QTest::newRow("paper too small to join")
        << QSizeF(100, 100) << QSizeF(25, 25) << std::numeric_limits<qint64>::max();
}

void tst_SheetPlan::refusedDrawings()
{
    QFETCH(QSizeF, drawing);
    QFETCH(QSizeF, paper);
    QFETCH(qint64, sheets);
    const SheetPlan plan = SheetPlan::choose(wholeDrawing(drawing), papers(paper, 0, Orientation::Portrait));
    QVERIFY(!plan.isPrintable());
    QCOMPARE(plan.sheetCount(), sheets);
}

QTEST_APPLESS_MAIN(tst_SheetPlan)
#include "tst_sheetplan.moc"
