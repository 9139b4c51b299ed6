#pragma once
// The marks of a page that its frame cut, as they were drawn: each with the window that clipped
// it before the frame did, and the items its clipped pieces took on the page. Kept so that the
// page can still give way to its drawing, or take the frame of PS with its sides swapped, when it
// ends.

#include "PageStorage.h"
#include "plotviewer/model/DisplayList.h"
#include "plotviewer/model/PlotUnits.h"

#include <cstddef>
#include <span>
#include <vector>

namespace plotviewer::hpgl {

class CutMarks
{
public:
    /// The window (IW) that clips the marks from now on.
    void setWindow(const Rect &window);
    /// A mark whose clipped pieces are the page's items [`firstItem`, `endItem`).
    void addStroke(std::span<const Point> polyline, const StrokeStyle &style, bool closed,
        std::size_t firstItem, std::size_t endItem);
    void addFill(std::span<const std::span<const Point>> subpaths, const FillStyle &style,
        std::size_t firstItem, std::size_t endItem);
    void addText(const TextRun &run, const StrokeStyle &style, std::size_t firstItem, std::size_t endItem);

    std::size_t size() const { return m_placements.size(); }
    bool empty() const { return m_placements.empty(); }
    std::size_t pointCount() const { return m_marks.points.size(); }
    std::size_t firstItem(std::size_t mark) const { return m_placements[mark].firstItem; }
    std::size_t endItem(std::size_t mark) const { return m_placements[mark].endItem; }
    const Rect &windowOf(std::size_t mark) const { return m_windows[m_placements[mark].window]; }
    /// The marks as a page, item `i` being mark `i`.
    const Page &marks() const { return m_marks; }
    /// The bounds of the points and character centres that the windows keep.
    Rect reach() const;

private:
    // Where mark `i` (item `i` of m_marks) was drawn: its window and its items on the page.
    struct Placement
    {
        std::uint32_t window;
        std::size_t firstItem;
        std::size_t endItem;
    };

    void place(std::size_t firstItem, std::size_t endItem);

    Page m_marks;
    std::vector<Placement> m_placements;
    std::vector<Rect> m_windows { everywhere };
    std::uint32_t m_lastStrokeStyle = 0;
    std::uint32_t m_lastFillStyle = 0;
};

} // namespace plotviewer::hpgl
