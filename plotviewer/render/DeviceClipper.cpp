#include "DeviceClipper.h"

#include <algorithm>

namespace plotviewer {

namespace {

Point toPoint(QPointF p)
{
    return { p.x(), p.y() };
}

QPointF toQPointF(Point p)
{
    return { p.x, p.y };
}

// Device space runs y down, so the rectangle's least y (its "bottom" as RectClipper counts) is the
// QRectF's top.
Rect toRect(const QRectF &r)
{
    return { r.left(), r.top(), r.right(), r.bottom() };
}

} // namespace

DeviceClipper::DeviceClipper(const QRectF &bounds)
    : m_bounds(bounds.normalized())
    , m_clipper(toRect(m_bounds))
{ }

bool DeviceClipper::clipSegment(QPointF &a, QPointF &b) const
{
    if (contains(a) && contains(b))
        return true;
    Point from = toPoint(a);
    Point to = toPoint(b);
    if (!m_clipper.clipSegment(from, to))
        return false;
    a = toQPointF(from);
    b = toQPointF(to);
    return true;
}

void DeviceClipper::clipPolygon(std::vector<QPointF> &polygon) const
{
    if (std::all_of(polygon.begin(), polygon.end(), [this](QPointF p) { return contains(p); }))
        return;
    m_scratch.resize(polygon.size());
    std::transform(polygon.begin(), polygon.end(), m_scratch.begin(), toPoint);
    m_scratch = m_clipper.clipPolygon(std::move(m_scratch));
    polygon.resize(m_scratch.size());
    std::transform(m_scratch.begin(), m_scratch.end(), polygon.begin(), toQPointF);
}

} // namespace plotviewer
