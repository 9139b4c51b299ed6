#include "DeviceClipper.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace plotviewer {

namespace {

bool isFinite(QPointF p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

} // namespace

DeviceClipper::DeviceClipper(const QRectF &bounds)
    : m_bounds(bounds.normalized())
{ }

bool DeviceClipper::clipSegment(QPointF &a, QPointF &b) const
{
    if (!isFinite(a) || !isFinite(b))
        return false;
    if (contains(a) && contains(b))
        return true;
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    if (!std::isfinite(dx) || !std::isfinite(dy))
        return false;
    // Liang-Barsky: narrow the parameter range [t0, t1] edge by edge.
    const std::array<double, 4> p = { -dx, dx, -dy, dy };
    const std::array<double, 4> q = { a.x() - m_bounds.left(), m_bounds.right() - a.x(),
        a.y() - m_bounds.top(), m_bounds.bottom() - a.y() };
    double t0 = 0;
    double t1 = 1;
    for (std::size_t i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        if (t0 > t1)
            return false;
    }
    const QPointF start = a;
    if (t1 < 1)
        b = QPointF(start.x() + t1 * dx, start.y() + t1 * dy);
    if (t0 > 0)
        a = QPointF(start.x() + t0 * dx, start.y() + t0 * dy);
    return true;
}

bool DeviceClipper::inside(QPointF p, Edge edge) const
{
    switch (edge) {
    case Edge::Left:
        return p.x() >= m_bounds.left();
    case Edge::Right:
        return p.x() <= m_bounds.right();
    case Edge::Top:
        return p.y() >= m_bounds.top();
    case Edge::Bottom:
        return p.y() <= m_bounds.bottom();
    }
    return false;
}

QPointF DeviceClipper::crossing(QPointF a, QPointF b, Edge edge) const
{
    const bool vertical = edge == Edge::Left || edge == Edge::Right;
    const double at = edge == Edge::Left ? m_bounds.left()
        : edge == Edge::Right            ? m_bounds.right()
        : edge == Edge::Top              ? m_bounds.top()
                                         : m_bounds.bottom();
    if (vertical) {
        const double t = (at - a.x()) / (b.x() - a.x());
        return { at, a.y() + t * (b.y() - a.y()) };
    }
    const double t = (at - a.y()) / (b.y() - a.y());
    return { a.x() + t * (b.x() - a.x()), at };
}

void DeviceClipper::clipPolygon(std::vector<QPointF> &polygon) const
{
    std::erase_if(polygon, [](QPointF p) { return !isFinite(p); });
    if (std::all_of(polygon.begin(), polygon.end(), [this](QPointF p) { return contains(p); }))
        return;
    // Sutherland-Hodgman, one bounding edge at a time.
    for (const Edge edge : { Edge::Left, Edge::Right, Edge::Top, Edge::Bottom }) {
        if (polygon.empty())
            return;
        m_scratch.clear();
        QPointF previous = polygon.back();
        bool previousInside = inside(previous, edge);
        for (const QPointF current : polygon) {
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
}

} // namespace plotviewer
