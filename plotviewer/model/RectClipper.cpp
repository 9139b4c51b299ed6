#include "RectClipper.h"

#include <algorithm>
#include <array>

namespace plotviewer {

namespace {

constexpr std::array<RectClipper::Edge, 4> edges { RectClipper::Edge::Left, RectClipper::Edge::Right,
    RectClipper::Edge::Bottom, RectClipper::Edge::Top };

} // namespace

bool RectClipper::clipSegment(Point &from, Point &to) const
{
    if (!isFinite(from) || !isFinite(to))
        return false;
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    if (!std::isfinite(dx) || !std::isfinite(dy))
        return false;
    // Liang-Barsky: narrow the parameter range [enter, leave] edge by edge, in the order of `edges`.
    const std::array<double, 4> p = { -dx, dx, -dy, dy };
    const std::array<double, 4> q
        = { from.x - m_rect.left, m_rect.right - from.x, from.y - m_rect.bottom, m_rect.top - from.y };
    double enter = 0;
    double leave = 1;
    const Edge *enterEdge = nullptr;
    const Edge *leaveEdge = nullptr;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > leave)
                return false;
            if (t > enter) {
                enter = t;
                enterEdge = &edges[i];
            }
        } else {
            if (t < enter)
                return false;
            if (t < leave) {
                leave = t;
                leaveEdge = &edges[i];
            }
        }
    }
    const Point start = from;
    if (leaveEdge)
        to = onEdge({ start.x + leave * dx, start.y + leave * dy }, *leaveEdge);
    if (enterEdge)
        from = onEdge({ start.x + enter * dx, start.y + enter * dy }, *enterEdge);
    return true;
}

bool RectClipper::inside(Point p, Edge edge) const
{
    switch (edge) {
    case Edge::Left:
        return p.x >= m_rect.left;
    case Edge::Right:
        return p.x <= m_rect.right;
    case Edge::Bottom:
        return p.y >= m_rect.bottom;
    case Edge::Top:
        return p.y <= m_rect.top;
    }
    return false;
}

double RectClipper::edgeCoordinate(Edge edge) const
{
    switch (edge) {
    case Edge::Left:
        return m_rect.left;
    case Edge::Right:
        return m_rect.right;
    case Edge::Bottom:
        return m_rect.bottom;
    case Edge::Top:
        return m_rect.top;
    }
    return 0;
}

Point RectClipper::onEdge(Point p, Edge edge) const
{
    // With huge coordinates the interpolation loses the digits that matter: put the crossing exactly
    // on the edge it crosses and keep it inside the rectangle.
    p.x = std::clamp(p.x, m_rect.left, m_rect.right);
    p.y = std::clamp(p.y, m_rect.bottom, m_rect.top);
    if (edge == Edge::Left || edge == Edge::Right)
        p.x = edgeCoordinate(edge);
    else
        p.y = edgeCoordinate(edge);
    return p;
}

Point RectClipper::crossing(Point a, Point b, Edge edge) const
{
    const double at = edgeCoordinate(edge);
    if (edge == Edge::Left || edge == Edge::Right) {
        const double t = (at - a.x) / (b.x - a.x);
        return { at, a.y + t * (b.y - a.y) };
    }
    const double t = (at - a.y) / (b.y - a.y);
    return { a.x + t * (b.x - a.x), at };
}

std::vector<Point> RectClipper::clipPolygon(std::vector<Point> polygon) const
{
    std::erase_if(polygon, [](Point p) { return !isFinite(p); });
    // Most fills lie wholly inside, where the passes below would hand back the same points.
    if (std::all_of(polygon.begin(), polygon.end(), [this](Point p) { return contains(p); }))
        return polygon;
    // Sutherland-Hodgman: one pass per edge keeps the points on its inner side and adds the crossings.
    for (const Edge edge : edges) {
        if (polygon.empty())
            break;
        m_scratch.clear();
        Point previous = polygon.back();
        bool previousInside = inside(previous, edge);
        for (const Point current : polygon) {
            const bool currentInside = inside(current, edge);
            if (currentInside != previousInside)
                m_scratch.push_back(crossing(previous, current, edge));
            if (currentInside)
                m_scratch.push_back(current);
            previous = current;
            previousInside = currentInside;
        }
        polygon.swap(m_scratch);
    }
    return polygon;
}

} // namespace plotviewer
