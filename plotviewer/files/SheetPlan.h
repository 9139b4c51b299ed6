#pragma once

#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QRectF>

#include <optional>

namespace plotviewer {

/// A drawing to print at actual size, in millimetres with y down, as it is seen.
struct SheetDrawing
{
    QSizeF extent; // the page the plot shows
    /// What must reach paper, relative to the extent's top left and within it; a line or a dot
    /// has no area. Nothing when no ink falls within the extent.
    std::optional<QRectF> ink;
};

/// A sheet of paper turned one way, in millimetres.
struct SheetPaper
{
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QSizeF size; // as turned
    QMarginsF margins; // the edges the device cannot print on, as turned
};

/// Where one sheet shows the drawing, in millimetres from the sheet's top left corner.
struct Sheet
{
    int row = 0; // from 0, the drawing's top row first
    int column = 0; // from 0, its left column first
    QPointF extentOrigin; // where the extent's top left corner lies
    QRectF clip; // the part of the sheet the drawing may cover
    /// The sheet's share of the drawing, framed by trim marks; null when the drawing fits one sheet.
    QRectF tile;
};

/// How a drawing at actual size goes onto sheets of paper. A drawing whose ink fits a sheet's
/// printable area takes that one sheet, centred as the page's extent, moved only as far as keeps
/// the ink printable. A larger one is cut into a grid of tiles in reading order, each overlapping
/// its neighbours so that the sheets can be trimmed and joined, with a band inside the printable
/// area for trim marks and the sheet's label.
class SheetPlan
{
public:
    /// What each tile shares with its neighbour, in millimetres.
    static constexpr double overlap = 10;
    /// The band between a tile and the printable edge that holds its marks and label.
    static constexpr double markBand = 6;
    /// Tiles keep at least this far from the paper's edge, whatever the device claims to print.
    static constexpr double leastMargin = 4;
    /// More sheets than this are refused: a drawing that large is most likely a broken file.
    static constexpr qint64 mostSheets = 200;

    /// The plan for `drawing` on `paper` turned one way.
    static SheetPlan forPaper(const SheetDrawing &drawing, const SheetPaper &paper);
    /// The plan needing the fewest sheets among the ways `papers` are turned; the first wins a tie.
    static SheetPlan choose(const SheetDrawing &drawing, const QList<SheetPaper> &papers);

    QPageLayout::Orientation orientation() const { return m_paper.orientation; }
    int rows() const { return m_rows; }
    int columns() const { return m_columns; }
    /// May exceed mostSheets; the largest qint64 when the paper is too small to tile on at all.
    qint64 sheetCount() const { return m_sheets; }
    bool fitsOneSheet() const { return m_sheets == 1; }
    /// False when the drawing needs more than mostSheets sheets.
    bool isPrintable() const { return m_sheets <= mostSheets; }
    /// Sheet `index`, counting in reading order: left to right, then top to bottom.
    Sheet sheet(int index) const;

private:
    Sheet oneSheet() const;

    SheetDrawing m_drawing;
    SheetPaper m_paper;
    QRectF m_tile; // on the sheet; empty when the drawing fits
    QPointF m_gridOrigin; // the top left of the first tile, relative to the extent
    int m_rows = 1;
    int m_columns = 1;
    qint64 m_sheets = 1;
};

} // namespace plotviewer
