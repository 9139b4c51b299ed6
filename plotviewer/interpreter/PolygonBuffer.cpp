#include "PolygonBuffer.h"

namespace plotviewer::hpgl {

namespace {

bool samePoint(Point a, Point b)
{
    return a.x == b.x && a.y == b.y;
}

} // namespace

template<typename Visit> void PolygonBuffer::forEachSubpolygon(Visit visit) const
{
    for (std::size_t i = 0; i < m_starts.size(); ++i) {
        const std::size_t end = i + 1 < m_starts.size() ? m_starts[i + 1] : m_vertices.size();
        visit(m_vertices.data() + m_starts[i], m_vertices.data() + end);
    }
}

void PolygonBuffer::clear()
{
    m_vertices.clear();
    m_starts.clear();
    m_startNew = true;
}

void PolygonBuffer::begin(Point start)
{
    clear();
    startSubpolygon();
    m_vertices.push_back({ start, false });
    m_startNew = false;
}

void PolygonBuffer::addVertex(Point point, bool penDown)
{
    if (m_startNew || m_starts.empty()) {
        // The move to the first vertex of a new subpolygon is no edge.
        startSubpolygon();
        penDown = false;
        m_startNew = false;
    }
    // Filled in place: a vertex built aside and copied whole stalls on store forwarding.
    Vertex &vertex = m_vertices.emplace_back();
    vertex.point = point;
    vertex.penDown = penDown;
}

void PolygonBuffer::closeSubpolygon(bool penDown)
{
    if (!m_starts.empty() && !m_startNew) {
        const Vertex &first = m_vertices[m_starts.back()];
        if (m_vertices.size() - m_starts.back() > 1 && !samePoint(first.point, m_vertices.back().point))
            m_vertices.push_back({ first.point, penDown });
    }
    m_startNew = true;
}

void PolygonBuffer::addClosed(const std::vector<Point> &points, bool penDown)
{
    closeSubpolygon(penDown);
    startSubpolygon();
    m_vertices.reserve(m_vertices.size() + points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        m_vertices.push_back({ points[i], i > 0 && penDown });
    m_startNew = true;
}

bool PolygonBuffer::empty() const
{
    bool empty = true;
    forEachSubpolygon(
        [&empty](const Vertex *first, const Vertex *last) { empty = empty && last - first <= 1; });
    return empty;
}

std::vector<std::vector<Point>> PolygonBuffer::outlines() const
{
    std::vector<std::vector<Point>> result;
    forEachSubpolygon([&result](const Vertex *first, const Vertex *last) {
        if (last - first < 3)
            return;
        std::vector<Point> &outline = result.emplace_back();
        outline.reserve(std::size_t(last - first));
        for (const Vertex *vertex = first; vertex != last; ++vertex)
            outline.push_back(vertex->point);
    });
    return result;
}

std::vector<std::vector<Point>> PolygonBuffer::penDownEdges() const
{
    std::vector<std::vector<Point>> result;
    std::vector<Point> run;
    const auto flush = [&] {
        if (run.size() >= 2)
            result.push_back(run);
        run.clear();
    };
    forEachSubpolygon([&](const Vertex *first, const Vertex *last) {
        const std::size_t size = std::size_t(last - first);
        for (std::size_t i = 1; i < size; ++i) {
            if (!first[i].penDown) {
                flush();
                continue;
            }
            if (run.empty())
                run.push_back(first[i - 1].point);
            run.push_back(first[i].point);
        }
        // An open subpolygon is closed by an edge drawn like its last one.
        const bool open = size > 2 && !samePoint(first->point, last[-1].point);
        if (open && last[-1].penDown)
            run.push_back(first->point);
        flush();
    });
    return result;
}

} // namespace plotviewer::hpgl
