#pragma once
// The marks of a page that its frame cut, as they were drawn: each with the window that clipped
// it before the frame did, and the items its clipped pieces took on the page. Kept so that the
// page can still give way to its drawing, or take the frame of PS with its sides swapped, when it
// ends.

#include "plotviewer/model/DisplayList.h"
#include "plotviewer/model/PlotUnits.h"

#include <cstddef>
#include <deque>
#include <vector>

namespace plotviewer::hpgl {

/// The centre of character `i`'s cell: a character stands or falls with it.
inline Point characterCentre(const TextRun &run, std::size_t i)
{
    const double at = static_cast<double>(i);
    return { run.origin.x + at * run.advance.x + (run.across.x + run.up.x) / 2,
        run.origin.y + at * run.advance.y + (run.across.y + run.up.y) / 2 };
}

class CutMarks
{
public:
    /// The window (IW) that clips the marks from now on.
    void setWindow(const Rect &window);
    /// A mark whose clipped pieces are the page's items [`firstItem`, `endItem`).
    void addStroke(const std::vector<Point> &polyline, const StrokeStyle &style, bool closed,
        std::size_t firstItem, std::size_t endItem);
    void addFill(const std::vector<std::vector<Point>> &subpaths, const FillStyle &style,
        std::size_t firstItem, std::size_t endItem);
    void addText(const TextRun &run, const StrokeStyle &style, std::size_t firstItem, std::size_t endItem);

    std::size_t size() const { return m_marks.size(); }
    bool empty() const { return m_marks.empty(); }
    std::size_t pointCount() const { return m_points.size(); }
    std::size_t firstItem(std::size_t mark) const { return m_marks[mark].firstItem; }
    std::size_t endItem(std::size_t mark) const { return m_marks[mark].endItem; }
    const Rect &windowOf(std::size_t mark) const { return m_windows[m_marks[mark].window]; }
    /// The marks as a page, item `i` being mark `i`.
    Page marks() const;
    /// The bounds of the points and character centres that the windows keep.
    Rect reach() const;

private:
    // A page may have many marks cut: they are kept in a few flat containers, the points in a
    // deque, which grows without copying what it holds.
    struct RawSpan
    {
        std::uint32_t first;
        std::uint32_t count;
    };
    struct RawMark
    {
        ItemKind kind;
        bool closed;
        std::uint32_t window;
        std::uint32_t style;
        std::uint32_t first; // a point, subpath or text, by kind
        std::uint32_t count;
        std::size_t firstItem;
        std::size_t endItem;
    };

    RawSpan appendPoints(const std::vector<Point> &points);

    std::vector<RawMark> m_marks;
    std::deque<Point> m_points;
    std::vector<RawSpan> m_subpaths;
    std::vector<TextRun> m_texts;
    std::vector<StrokeStyle> m_strokeStyles;
    std::vector<FillStyle> m_fillStyles;
    std::vector<Rect> m_windows { everywhere };
};

} // namespace plotviewer::hpgl
