#include "PolygonBuffer.h"

namespace plotviewer::hpgl {

namespace {

bool samePoint(Point a, Point b)
{
    return a.x == b.x && a.y == b.y;
}

} // namespace

void PolygonBuffer::clear()
{
    m_subpolygons.clear();
    m_startNew = true;
    m_vertexCount = 0;
}

void PolygonBuffer::begin(Point start)
{
    clear();
    m_start = start;
    m_subpolygons.push_back({ { start, false } });
    m_startNew = false;
    m_vertexCount = 1;
}

void PolygonBuffer::addVertex(Point point, bool penDown)
{
    ++m_vertexCount;
    if (m_startNew || m_subpolygons.empty()) {
        // The move to the first vertex of a new subpolygon is no edge.
        m_subpolygons.push_back({ { point, false } });
        m_startNew = false;
        return;
    }
    // Filled in place: a vertex built aside and copied whole stalls on store forwarding.
    Vertex &vertex = m_subpolygons.back().emplace_back();
    vertex.point = point;
    vertex.penDown = penDown;
}

void PolygonBuffer::closeSubpolygon(bool penDown)
{
    if (!m_subpolygons.empty() && !m_startNew) {
        Subpolygon &current = m_subpolygons.back();
        if (current.size() > 1 && !samePoint(current.front().point, current.back().point)) {
            current.push_back({ current.front().point, penDown });
            ++m_vertexCount;
        }
    }
    m_startNew = true;
}

void PolygonBuffer::addClosed(const std::vector<Point> &points, bool penDown)
{
    closeSubpolygon(penDown);
    Subpolygon subpolygon;
    subpolygon.reserve(points.size());
    for (const Point &p : points)
        subpolygon.push_back({ p, !subpolygon.empty() && penDown });
    m_vertexCount += subpolygon.size();
    m_subpolygons.push_back(std::move(subpolygon));
    m_startNew = true;
}

bool PolygonBuffer::empty() const
{
    for (const Subpolygon &subpolygon : m_subpolygons) {
        if (subpolygon.size() > 1)
            return false;
    }
    return true;
}

std::vector<std::vector<Point>> PolygonBuffer::outlines() const
{
    std::vector<std::vector<Point>> result;
    for (const Subpolygon &subpolygon : m_subpolygons) {
        if (subpolygon.size() < 3)
            continue;
        std::vector<Point> outline;
        outline.reserve(subpolygon.size());
        for (const Vertex &vertex : subpolygon)
            outline.push_back(vertex.point);
        result.push_back(std::move(outline));
    }
    return result;
}

std::vector<std::vector<Point>> PolygonBuffer::penDownEdges() const
{
    std::vector<std::vector<Point>> result;
    for (const Subpolygon &subpolygon : m_subpolygons) {
        std::vector<Point> run;
        auto flush = [&] {
            if (run.size() >= 2)
                result.push_back(run);
            run.clear();
        };
        for (std::size_t i = 1; i < subpolygon.size(); ++i) {
            if (!subpolygon[i].penDown) {
                flush();
                continue;
            }
            if (run.empty())
                run.push_back(subpolygon[i - 1].point);
            run.push_back(subpolygon[i].point);
        }
        // An open subpolygon is closed by an edge drawn like its last one.
        const bool open
            = subpolygon.size() > 2 && !samePoint(subpolygon.front().point, subpolygon.back().point);
        if (open && subpolygon.back().penDown)
            run.push_back(subpolygon.front().point);
        flush();
    }
    return result;
}

} // namespace plotviewer::hpgl
