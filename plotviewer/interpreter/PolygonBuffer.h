#pragma once
// The polygon buffer of polygon mode and of the rectangle and wedge instructions: closed
// subpolygons whose edges remember whether they were drawn with the pen down.

#include "plotviewer/model/DisplayList.h"

#include <vector>

namespace plotviewer::hpgl {

class PolygonBuffer
{
public:
    struct Vertex
    {
        Point point;
        bool penDown = false; // the edge that ends here
    };

    void clear();
    /// Starts a subpolygon at `start` (the pen position when polygon mode begins).
    void begin(Point start);
    void addVertex(Point point, bool penDown);
    /// PM1/PM2: closes the current subpolygon; the next vertex starts a new one. The closing edge is
    /// a pen-down edge only when the pen is down as the polygon is closed.
    void closeSubpolygon(bool penDown);
    /// A complete closed subpolygon (circles in polygon mode, rectangles, wedges).
    void addClosed(const std::vector<Point> &points, bool penDown);

    bool empty() const;
    std::size_t vertexCount() const { return m_vertices.size(); }
    /// The subpolygons as closed outlines for filling.
    std::vector<std::vector<Point>> outlines() const;
    /// The pen-down edges as polylines for EP.
    std::vector<std::vector<Point>> penDownEdges() const;

private:
    /// Calls `visit(first, last)` with the vertices of each subpolygon.
    template<typename Visit> void forEachSubpolygon(Visit visit) const;
    void startSubpolygon() { m_starts.push_back(m_vertices.size()); }

    // Every subpolygon's vertices one after another, each subpolygon starting at its index in
    // m_starts: a plot fills thousands of small polygons, and these keep their memory between them.
    std::vector<Vertex> m_vertices;
    std::vector<std::size_t> m_starts;
    bool m_startNew = true;
};

} // namespace plotviewer::hpgl
