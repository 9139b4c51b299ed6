#pragma once
// Collects the clipped strokes, fills, text runs and images of one page into a plotviewer::Page, shares
// styles, tracks the ink bounds, and stops adding once the point budget is spent. It also keeps the
// marks the frame cuts as they were drawn, so that the frame can still give way to the drawing, or
// be swapped for the frame of PS the other way round, when the page ends.

#include "CutMarks.h"
#include "FrameCutDetector.h"
#include "plotviewer/model/RectClipper.h"

#include <cstddef>
#include <span>
#include <vector>

namespace plotviewer::hpgl {

class PageBuilder
{
public:
    explicit PageBuilder(std::size_t pointBudget);

    /// Marks are clipped to the hard-clip `frame` and the soft-clip `window`. Ink beyond `watched`
    /// that the window keeps is noted (see frameCutInk); an unbounded `watched` notes nothing.
    /// `swappedFrame` is the frame of PS with its sides swapped.
    void setClip(const Rect &frame, const Rect &window, const Rect &watched, const Rect &swappedFrame);

    /// A `closed` polyline stays closed where the clip leaves it whole.
    void addStroke(std::span<const Point> polyline, const StrokeStyle &style, bool closed = false);
    /// Subpaths are closed polygons; empty ones are skipped.
    void addFill(std::span<const std::span<const Point>> subpaths, const FillStyle &style);
    void addText(const TextRun &run, const StrokeStyle &style);
    /// Images are not clipped: raster lies outside HP-GL's clip limits.
    void addImage(RasterImage image);
    /// A PCL rectangle fill, which lies outside HP-GL's clip limits as raster does.
    void addRectangle(const Rect &area, const FillStyle &style);
    /// Notes a curve the plot asked for in finer chords than the default, from three of its points
    /// in a row, drawn with a pen `penWidth` wide (negative for an area's edge); see FineCurves.
    void noteFineCurve(Point a, Point b, Point c, double penWidth);

    const Rect &inkBounds() const { return m_page.inkBounds; }
    bool hasMarks() const { return !m_page.items.empty(); }
    bool hasImages() const { return !m_page.images.empty(); }
    /// Whether this page lost ink to the frame that the window would have kept.
    bool frameCutInk() const { return m_frameCut.cut(); }
    /// Whether the clip took away ink beyond that frame, and whether more than it kept.
    bool frameCutAway() const { return m_frameCut.cutAway(); }
    bool frameCutMost() const { return m_frameCut.cutMost(); }
    bool overBudget() const { return m_overBudget; }
    /// Whether rows of the page's images lie wholly outside `frame`, where they are not drawn.
    bool imageRowsOutside(const Rect &frame) const;

    /// The frame gives way to the drawing: the marks it cut come back whole, or the page is over
    /// budget when they were too many to keep.
    void restoreDrawing();
    /// Moves the drawing by `shift` onto the swapped frame and clips it to that, when that frame
    /// holds all of it (but for rounding); false, with nothing changed, otherwise.
    bool moveToSwappedFrame(Point shift);

    /// Ends the page: sets the frame, moves the page to `pages` when it has marks, and starts an
    /// empty one.
    void finishPage(const Rect &frame, std::vector<Page> &pages);

private:
    /// A mark just added, whose pieces are the items from `firstItem` on, when the frame cut it.
    template<typename Keep> void noteCut(bool cut, std::size_t firstItem, Keep keep);
    /// The points and character centres of the page's items the frame did not cut: their bounds.
    Rect uncutReach() const;
    /// Builds the page again from `drawn`, each mark the frame cut drawn whole instead (see
    /// CutMarks), clipped to `keptClip` and `cutClip(mark)` respectively.
    template<typename CutClip>
    void rebuild(
        Page drawn, const CutMarks &cut, const Page &cutMarks, const Rect &keptClip, CutClip cutClip);
    void addItem(const Page &source, const Item &item, std::vector<RasterImage> &images);
    void joinStrokes();
    bool reserve(std::size_t points);
    std::uint32_t strokeStyleIndex(const StrokeStyle &style);
    std::uint32_t fillStyleIndex(const FillStyle &style);
    void appendItem(ItemKind kind, std::uint32_t style, std::uint32_t firstPath, std::uint32_t pathCount);
    void include(Point p, double margin);
    /// Appends `points` as a path of the page, their ink `margin` wide; returns the path's index.
    std::uint32_t appendInkedPath(std::span<const Point> points, bool closed, double margin);
    /// Characters [`from`, `to`) of `whole`, all inside the clip, as a run of their own.
    void addVisibleText(const TextRun &whole, std::size_t from, std::size_t to, std::uint32_t style);

    Page m_page;
    RectClipper m_clipper;
    std::vector<Point> m_clipped; // a fill's subpath as the clip left it
    FrameCutDetector m_frameCut;
    CutMarks m_cut;
    Rect m_watched = everywhere;
    Rect m_swappedFrame = everywhere;
    bool m_frameClips = false;
    bool m_framesChanged = false; // the frame changed while the page had marks
    std::size_t m_mergeFloor = 0; // strokes join only items after this one
    std::uint32_t m_lastStrokeStyle = 0; // the style indexes matched last, likely to match again
    std::uint32_t m_lastFillStyle = 0;
    std::size_t m_budget;
    const std::size_t m_pointBudget;
    bool m_cutsDropped = false; // the marks cut were too many to keep
    bool m_overBudget = false;
    bool m_haveInk = false;
};

} // namespace plotviewer::hpgl
