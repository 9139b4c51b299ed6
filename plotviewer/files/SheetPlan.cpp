#include "SheetPlan.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace plotviewer {

namespace {

// Rounding in millimetre arithmetic must not cost a drawing that fits exactly a second sheet.
constexpr double tolerance = 1e-6;
constexpr double never = std::numeric_limits<double>::infinity();

/// How many tiles `tile` long, each overlapping the next, cover `length`; infinite when tiles that
/// short cannot move on by more than they overlap.
double tilesAlong(double length, double tile)
{
    if (length <= tile + tolerance)
        return 1;
    const double step = tile - SheetPlan::overlap;
    if (step < SheetPlan::overlap)
        return never;
    return std::ceil((length - SheetPlan::overlap - tolerance) / step);
}

bool fits(const QRectF &ink, const QSizeF &area)
{
    return ink.width() <= area.width() + tolerance && ink.height() <= area.height() + tolerance;
}

// How far `inner` must move along one axis to lie between `low` and `high`, which it fits.
double shiftInto(double innerLow, double innerHigh, double low, double high)
{
    if (innerLow < low)
        return low - innerLow;
    if (innerHigh > high)
        return high - innerHigh;
    return 0;
}

} // namespace

SheetPlan SheetPlan::forPaper(const SheetDrawing &drawing, const SheetPaper &paper)
{
    SheetPlan plan;
    plan.m_drawing = drawing;
    plan.m_paper = paper;
    const QRectF sheet(QPointF(0, 0), paper.size);
    if (!drawing.ink || fits(*drawing.ink, sheet.marginsRemoved(paper.margins).size()))
        return plan;
    const QRectF &ink = *drawing.ink;

    const QMarginsF &m = paper.margins;
    const auto edge = [](double margin) { return std::max(margin, leastMargin) + markBand; };
    plan.m_tile
        = sheet.marginsRemoved(QMarginsF(edge(m.left()), edge(m.top()), edge(m.right()), edge(m.bottom())));
    const double columns = tilesAlong(ink.width(), plan.m_tile.width());
    const double rows = tilesAlong(ink.height(), plan.m_tile.height());
    const double sheets = columns * rows;
    if (!(sheets <= double(std::numeric_limits<qint64>::max() / 2))) {
        plan.m_sheets = std::numeric_limits<qint64>::max();
        plan.m_rows = plan.m_columns = std::numeric_limits<int>::max();
        return plan;
    }
    plan.m_sheets = qint64(sheets);
    plan.m_columns = int(std::min(columns, double(std::numeric_limits<int>::max())));
    plan.m_rows = int(std::min(rows, double(std::numeric_limits<int>::max())));
    // The tiles' union is centred on the ink, so that the outer sheets keep equal spare paper.
    const auto start = [](double inkLow, double inkLength, double count, double tile) {
        const double span = count * (tile - overlap) + overlap;
        return inkLow - (span - inkLength) / 2;
    };
    plan.m_gridOrigin = QPointF(start(ink.left(), ink.width(), columns, plan.m_tile.width()),
        start(ink.top(), ink.height(), rows, plan.m_tile.height()));
    return plan;
}

SheetPlan SheetPlan::choose(const SheetDrawing &drawing, const QList<SheetPaper> &papers)
{
    Q_ASSERT(!papers.isEmpty());
    SheetPlan best = forPaper(drawing, papers.front());
    for (qsizetype i = 1; i < papers.size(); ++i) {
        SheetPlan other = forPaper(drawing, papers[i]);
        if (other.sheetCount() < best.sheetCount())
            best = std::move(other);
    }
    return best;
}

Sheet SheetPlan::oneSheet() const
{
    // Centred as the page would be, then moved just enough to keep the ink off unprintable edges.
    const QRectF paper(QPointF(0, 0), m_paper.size);
    QPointF origin = paper.center() - QPointF(m_drawing.extent.width(), m_drawing.extent.height()) / 2;
    if (m_drawing.ink) {
        const QRectF ink = m_drawing.ink->translated(origin);
        const QRectF printable = paper.marginsRemoved(m_paper.margins);
        origin += QPointF(shiftInto(ink.left(), ink.right(), printable.left(), printable.right()),
            shiftInto(ink.top(), ink.bottom(), printable.top(), printable.bottom()));
    }
    return { 0, 0, origin, paper, QRectF() };
}

Sheet SheetPlan::sheet(int index) const
{
    if (fitsOneSheet())
        return oneSheet();
    Sheet sheet;
    sheet.row = index / m_columns;
    sheet.column = index % m_columns;
    const QPointF part = m_gridOrigin
        + QPointF(sheet.column * (m_tile.width() - overlap), sheet.row * (m_tile.height() - overlap));
    sheet.extentOrigin = m_tile.topLeft() - part;
    sheet.clip = m_tile.intersected(QRectF(sheet.extentOrigin, m_drawing.extent));
    sheet.tile = m_tile;
    return sheet;
}

} // namespace plotviewer
