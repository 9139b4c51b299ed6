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
    using Subpolygon = std::vector<Vertex>;

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
    std::size_t vertexCount() const { return m_vertexCount; }
    /// The subpolygons as closed outlines for filling.
    std::vector<std::vector<Point>> outlines() const;
    /// The pen-down edges as polylines for EP.
    std::vector<std::vector<Point>> penDownEdges() const;

private:
    std::vector<Subpolygon> m_subpolygons;
    bool m_startNew = true;
    Point m_start;
    std::size_t m_vertexCount = 0;
};

} // namespace plotviewer::hpgl
