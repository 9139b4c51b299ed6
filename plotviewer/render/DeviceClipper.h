#pragma once

#include "plotviewer/model/RectClipper.h"

#include <QPointF>
#include <QRectF>

#include <vector>

namespace plotviewer {

/// Clips device-space geometry to a rectangle in double precision, so that what reaches QPainter
/// stays within the coordinate range it can paint (about ±2^15) and nothing non-finite gets there.
/// The geometry is the page's RectClipper; this adds the Qt types and keeps the common case, all
/// inside, free of conversions.
class DeviceClipper
{
public:
    explicit DeviceClipper(const QRectF &bounds);

    const QRectF &bounds() const { return m_bounds; }
    bool contains(QPointF p) const
    {
        return p.x() >= m_bounds.left() && p.x() <= m_bounds.right() && p.y() >= m_bounds.top()
            && p.y() <= m_bounds.bottom();
    }

    /// Shortens the segment a-b to the part inside; false when no part is inside or it is not finite.
    bool clipSegment(QPointF &a, QPointF &b) const;

    /// Replaces `polygon` by its part inside the bounds (closed implicitly). The area covered under
    /// either fill rule is kept; edges may run along the bounds. Non-finite vertices are dropped.
    void clipPolygon(std::vector<QPointF> &polygon) const;

private:
    QRectF m_bounds;
    RectClipper m_clipper;
    mutable std::vector<Point> m_scratch;
};

} // namespace plotviewer
