#pragma once
// Collects the clipped strokes, fills, text runs and images of one page into a plotviewer::Page, shares
// styles, tracks the ink bounds, and stops adding once the point budget is spent.

#include "FrameCutDetector.h"
#include "plotviewer/model/RectClipper.h"

#include <cstddef>
#include <vector>

namespace plotviewer::hpgl {

class PageBuilder
{
public:
    explicit PageBuilder(std::size_t pointBudget);

    /// Marks are clipped to the hard-clip `frame` and the soft-clip `window`. Ink beyond `watched`
    /// that the window keeps is noted (see frameCutInk); an unbounded `watched` notes nothing.
    void setClip(const Rect &frame, const Rect &window, const Rect &watched);

    /// A `closed` polyline stays closed where the clip leaves it whole.
    void addStroke(const std::vector<Point> &polyline, const StrokeStyle &style, bool closed = false);
    /// Subpaths are closed polygons; empty ones are skipped.
    void addFill(const std::vector<std::vector<Point>> &subpaths, const FillStyle &style);
    void addText(const TextRun &run, const StrokeStyle &style);
    /// Images are not clipped: raster lies outside HP-GL's clip limits.
    void addImage(RasterImage image);
    /// A PCL rectangle fill, which lies outside HP-GL's clip limits as raster does.
    void addRectangle(const Rect &area, const FillStyle &style);

    const Rect &inkBounds() const { return m_page.inkBounds; }
    bool hasMarks() const { return !m_page.items.empty(); }
    /// Whether this page lost ink to the frame that the window would have kept.
    bool frameCutInk() const { return m_frameCut.cut(); }
    /// Whether the clip took away ink beyond that frame, and whether more than it kept.
    bool frameCutAway() const { return m_frameCut.cutAway(); }
    bool frameCutMost() const { return m_frameCut.cutMost(); }
    bool overBudget() const { return m_overBudget; }

    /// Ends the page: sets the frame, moves the page to `pages` when it has marks, and starts an
    /// empty one.
    void finishPage(const Rect &frame, std::vector<Page> &pages);

private:
    bool reserve(std::size_t points);
    std::uint32_t strokeStyleIndex(const StrokeStyle &style);
    std::uint32_t fillStyleIndex(const FillStyle &style);
    void appendItem(ItemKind kind, std::uint32_t style, std::uint32_t firstPath, std::uint32_t pathCount);
    void include(Point p, double margin);
    void addVisibleText(const TextRun &run, std::uint32_t style);

    Page m_page;
    RectClipper m_clipper;
    FrameCutDetector m_frameCut;
    std::size_t m_budget;
    bool m_overBudget = false;
    bool m_haveInk = false;
};

} // namespace plotviewer::hpgl
