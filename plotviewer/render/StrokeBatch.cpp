#include "StrokeBatch.h"

#include <QPainter>

#include <algorithm>

namespace plotviewer {

namespace {

// Points closer than this many device pixels to the last one kept change nothing visible but cost
// a segment each; dense plots shrunk to a preview are mostly such points.
constexpr double minimumStep = 0.25;

void thinOut(std::vector<QPointF> &points)
{
    if (points.size() < 3)
        return;
    std::size_t kept = 0;
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
        const QPointF step = points[i] - points[kept];
        // Written so that a non-finite point is kept, for the clipper to drop.
        if (!(step.x() * step.x() + step.y() * step.y() < minimumStep * minimumStep))
            points[++kept] = points[i];
    }
    points[++kept] = points.back();
    points.resize(kept + 1);
}

// Whether any of `points` can show within `bounds`: false only when their bounding box misses it.
// A sheet that shows a corner of a large drawing skips most of its lines this way, rather than
// clipping them segment by segment. Non-finite coordinates are left for the clipper to drop.
bool mayShow(const std::vector<QPointF> &points, const QRectF &bounds)
{
    double left = points.front().x();
    double right = left;
    double top = points.front().y();
    double bottom = top;
    for (const QPointF &p : points) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    return !(
        right < bounds.left() || left > bounds.right() || bottom < bounds.top() || top > bounds.bottom());
}

} // namespace

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

void StrokeBatch::addPolyline(std::vector<QPointF> &points, bool closed)
{
    if (points.empty() || !mayShow(points, m_clipper.bounds()))
        return;
    thinOut(points);
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
        m_wideLines.push_back({ std::uint32_t(m_widePoints.size()), std::uint32_t(points.size()), closed });
        m_widePoints.insert(m_widePoints.end(), points.begin(), points.end());
        return;
    }
    // Clipped pieces become separate polylines; their cut ends lie outside the visible area.
    forEachVisibleSegment(points, closed, [this](QPointF a, QPointF b, bool joined) {
        if (!joined) {
            m_wideLines.push_back({ std::uint32_t(m_widePoints.size()), 1, false });
            m_widePoints.push_back(a);
        }
        m_widePoints.push_back(b);
        ++m_wideLines.back().count;
    });
}

void StrokeBatch::flush(QPainter &painter)
{
    if (!m_lines.empty()) {
        painter.setPen(m_pen);
        painter.drawLines(m_lines.data(), int(m_lines.size()));
        m_lines.clear();
    }
    if (!m_wideLines.empty()) {
        // One call per polyline: stroking them all as one path costs far more, as the outline's
        // overlaps all meet in one fill.
        painter.setPen(m_pen);
        for (const WideLine &line : m_wideLines) {
            const QPointF *points = m_widePoints.data() + line.first;
            if (line.closed)
                painter.drawPolygon(points, int(line.count));
            else
                painter.drawPolyline(points, int(line.count));
        }
        m_wideLines.clear();
        m_widePoints.clear();
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
