#include "StrokeBatch.h"

#include <QPainter>

#include <algorithm>

namespace plotviewer {

StrokeBatch::StrokeBatch(const DeviceClipper &clipper)
    : m_clipper(clipper)
{ }

void StrokeBatch::setPen(QPainter &painter, const QPen &pen)
{
    if (pen == m_pen)
        return;
    flush(painter);
    m_pen = pen;
}

void StrokeBatch::addPolyline(const std::vector<QPointF> &points, bool closed)
{
    if (points.size() == 1) {
        if (m_clipper.contains(points.front()))
            m_dots.push_back(points.front());
        return;
    }
    if (m_pen.isCosmetic())
        addHairline(points, closed);
    else
        addWideLine(points, closed);
}

template<typename Visit>
void StrokeBatch::forEachVisibleSegment(const std::vector<QPointF> &points, bool closed, Visit visit) const
{
    bool joined = false; // the previous segment ended, unclipped, where this one starts
    const std::size_t segments = closed ? points.size() : points.size() - 1;
    for (std::size_t i = 0; i < segments; ++i) {
        QPointF a = points[i];
        QPointF b = points[(i + 1) % points.size()];
        const QPointF end = b;
        if (!m_clipper.clipSegment(a, b)) {
            joined = false;
            continue;
        }
        visit(a, b, joined && a == points[i]);
        joined = b == end;
    }
}

void StrokeBatch::addHairline(const std::vector<QPointF> &points, bool closed)
{
    forEachVisibleSegment(points, closed, [this](QPointF a, QPointF b, bool) { m_lines.emplace_back(a, b); });
}

void StrokeBatch::addWideLine(const std::vector<QPointF> &points, bool closed)
{
    if (std::all_of(points.begin(), points.end(), [this](QPointF p) { return m_clipper.contains(p); })) {
        m_path.moveTo(points.front());
        for (std::size_t i = 1; i < points.size(); ++i)
            m_path.lineTo(points[i]);
        if (closed)
            m_path.closeSubpath();
        return;
    }
    // Clipped pieces become separate subpaths; their cut ends lie outside the visible area.
    forEachVisibleSegment(points, closed, [this](QPointF a, QPointF b, bool joined) {
        if (!joined)
            m_path.moveTo(a);
        m_path.lineTo(b);
    });
}

void StrokeBatch::flush(QPainter &painter)
{
    if (!m_lines.empty()) {
        painter.setPen(m_pen);
        painter.drawLines(m_lines.data(), int(m_lines.size()));
        m_lines.clear();
    }
    if (!m_path.isEmpty()) {
        painter.strokePath(m_path, m_pen);
        m_path.clear();
    }
    if (!m_dots.empty()) {
        // A dot is the pen touching the paper: round unless the pen's ends are square.
        QPen dotPen = m_pen;
        if (dotPen.capStyle() != Qt::SquareCap)
            dotPen.setCapStyle(Qt::RoundCap);
        painter.setPen(dotPen);
        painter.drawPoints(m_dots.data(), int(m_dots.size()));
        m_dots.clear();
    }
}

} // namespace plotviewer
