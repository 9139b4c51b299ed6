#include "PolygonBuffer.h"

namespace plotviewer::hpgl {

void PolygonBuffer::clear()
{
    m_points.clear();
    m_penDown.clear();
    m_starts.clear();
    m_startNew = true;
}

void PolygonBuffer::begin(Point start)
{
    clear();
    startSubpolygon();
    m_points.push_back(start);
    m_penDown.push_back(false);
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
    m_points.push_back(point);
    m_penDown.push_back(penDown);
}

void PolygonBuffer::closeSubpolygon(bool penDown)
{
    if (!m_starts.empty() && !m_startNew) {
        const Point first = m_points[m_starts.back()];
        if (m_points.size() - m_starts.back() > 1 && !(first == m_points.back())) {
            m_points.push_back(first);
            m_penDown.push_back(penDown);
        }
    }
    m_startNew = true;
}

void PolygonBuffer::addClosed(std::span<const Point> points, bool penDown)
{
    closeSubpolygon(penDown);
    startSubpolygon();
    m_points.insert(m_points.end(), points.begin(), points.end());
    if (!points.empty()) {
        m_penDown.push_back(false);
        m_penDown.insert(m_penDown.end(), points.size() - 1, penDown);
    }
    m_startNew = true;
}

bool PolygonBuffer::empty() const
{
    bool empty = true;
    forEachSubpolygon([&empty](std::size_t first, std::size_t end) { empty = empty && end - first <= 1; });
    return empty;
}

const std::vector<std::span<const Point>> &PolygonBuffer::outlines()
{
    m_outlines.clear();
    const std::span<const Point> points(m_points);
    forEachSubpolygon([&](std::size_t first, std::size_t end) {
        if (end - first >= 3)
            m_outlines.push_back(points.subspan(first, end - first));
    });
    return m_outlines;
}

} // namespace plotviewer::hpgl
