#pragma once
// The polygon buffer of polygon mode and of the rectangle and wedge instructions: closed
// subpolygons whose edges remember whether they were drawn with the pen down.

#include "plotviewer/model/DisplayList.h"

#include <cstdint>
#include <span>
#include <vector>

namespace plotviewer::hpgl {

class PolygonBuffer
{
public:
    void clear();
    /// Starts a subpolygon at `start` (the pen position when polygon mode begins).
    void begin(Point start);
    void addVertex(Point point, bool penDown);
    /// PM1/PM2: closes the current subpolygon; the next vertex starts a new one. The closing edge is
    /// a pen-down edge only when the pen is down as the polygon is closed.
    void closeSubpolygon(bool penDown);
    /// A complete closed subpolygon (circles in polygon mode, rectangles, wedges).
    void addClosed(std::span<const Point> points, bool penDown);

    bool empty() const;
    std::size_t vertexCount() const { return m_points.size(); }
    /// The subpolygons as closed outlines for filling; they last until the buffer changes.
    const std::vector<std::span<const Point>> &outlines();
    /// Calls `visit(std::span<const Point>)` with each polyline of pen-down edges, for EP.
    template<typename Visit> void forEachPenDownEdge(Visit visit);

private:
    /// Calls `visit(first, end)` with the vertex indexes of each subpolygon.
    template<typename Visit> void forEachSubpolygon(Visit visit) const;
    void startSubpolygon() { m_starts.push_back(m_points.size()); }

    // Every subpolygon's vertices one after another, each subpolygon starting at its index in
    // m_starts: a plot fills thousands of small polygons, and these keep their memory between them.
    // The points lie apart from their flags, so that a run of them is an outline or an edge as it is.
    std::vector<Point> m_points;
    std::vector<std::uint8_t> m_penDown; // whether the edge that ends at the point is drawn
    std::vector<std::size_t> m_starts;
    bool m_startNew = true;
    std::vector<std::span<const Point>> m_outlines;
    std::vector<Point> m_closedEdge; // an edge polyline that returns to its subpolygon's start
};

template<typename Visit> void PolygonBuffer::forEachSubpolygon(Visit visit) const
{
    for (std::size_t i = 0; i < m_starts.size(); ++i)
        visit(m_starts[i], i + 1 < m_starts.size() ? m_starts[i + 1] : m_points.size());
}

template<typename Visit> void PolygonBuffer::forEachPenDownEdge(Visit visit)
{
    const std::span<const Point> points(m_points);
    forEachSubpolygon([&](std::size_t first, std::size_t end) {
        // A polyline runs from the vertex before its first pen-down edge to the end of its last.
        std::size_t runStart = end;
        for (std::size_t i = first + 1; i < end; ++i) {
            if (m_penDown[i]) {
                runStart = runStart == end ? i - 1 : runStart;
                continue;
            }
            if (runStart != end)
                visit(points.subspan(runStart, i - runStart));
            runStart = end;
        }
        if (runStart == end)
            return;
        // An open subpolygon is closed by an edge drawn like its last one.
        const bool open = end - first > 2 && !(points[first] == points[end - 1]);
        if (!open) {
            visit(points.subspan(runStart, end - runStart));
            return;
        }
        m_closedEdge.assign(points.begin() + runStart, points.begin() + end);
        m_closedEdge.push_back(points[first]);
        visit(std::span<const Point>(m_closedEdge));
    });
}

} // namespace plotviewer::hpgl
