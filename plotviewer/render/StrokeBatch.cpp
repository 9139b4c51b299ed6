#include "StrokeBatch.h"

#include "BandedFill.h"

#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

#include <algorithm>

namespace plotviewer {

namespace {

// Hairlines are painted once this many have gathered, so that a plot of millions of short chords
// does not hold them all at once. Qt strokes each hairline on its own, so the picture is the same.
constexpr std::size_t largestHairlineBatch = 4096;

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
    , m_straightRuns(wideLineTolerance)
{ }

void StrokeBatch::setPen(QPainter &painter, const QPen &pen)
{
    if (pen == m_pen)
        return;
    flush(painter);
    m_pen = pen;
}

void StrokeBatch::addPolyline(QPainter &painter, std::vector<QPointF> &points, bool closed)
{
    if (points.empty() || !mayShow(points, m_clipper.bounds()))
        return;
    dropCrowdedPoints(points);
    if (!m_pen.isCosmetic())
        m_straightRuns.reduce(points, closed);
    if (points.size() == 1) {
        if (m_clipper.contains(points.front()))
            m_dots.push_back(points.front());
        return;
    }
    if (!m_pen.isCosmetic()) {
        addWideLine(points, closed);
        return;
    }
    addHairline(points, closed);
    if (m_lines.size() >= largestHairlineBatch)
        drawHairlines(painter);
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

void StrokeBatch::drawHairlines(QPainter &painter)
{
    if (m_lines.empty())
        return;
    painter.setPen(m_pen);
    painter.drawLines(m_lines.data(), int(m_lines.size()));
    m_lines.clear();
}

void StrokeBatch::addWideLine(const std::vector<QPointF> &points, bool closed)
{
    if (std::all_of(points.begin(), points.end(), [this](QPointF p) { return m_clipper.contains(p); })) {
        if (m_convexLoops.outline(points, closed, m_pen, m_loopOuter, m_loopInner)) {
            addLoop(m_loopOuter, true);
            if (!m_loopInner.empty())
                addLoop(m_loopInner, false);
            return;
        }
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

void StrokeBatch::addLoop(const std::vector<QPointF> &contour, bool outer)
{
    m_loops.push_back({ std::uint32_t(m_loopPoints.size()), std::uint32_t(contour.size()), outer });
    m_loopPoints.insert(m_loopPoints.end(), contour.begin(), contour.end());
}

void StrokeBatch::fillOutline(QPainter &painter, const QPointF *points, const WideLine &line)
{
    QPainterPath path(points[0]);
    for (std::uint32_t i = 1; i < line.count; ++i)
        path.lineTo(points[i]);
    if (line.closed) {
        path.closeSubpath();
    } else if (line.count > 1 && points[line.count - 1] == points[0]) {
        // The stroker joins a subpath that ends where it starts, where a polyline drawn by
        // QPainter keeps its two ends: a millionth of a pixel keeps them apart.
        path.setElementPositionAt(path.elementCount() - 1, points[0].x() + 1e-6, points[0].y());
    }
    BandedFill::Contours contours;
    for (const QPolygonF &polygon : QPainterPathStroker(m_pen).createStroke(path).toSubpathPolygons())
        contours.emplace_back(polygon.begin(), polygon.end());
    BandedFill::fill(painter, contours, Qt::WindingFill, m_pen.brush());
}

void StrokeBatch::fillLoops(QPainter &painter)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_pen.brush());
    for (std::size_t i = 0; i < m_loops.size(); ++i) {
        const QPointF *points = m_loopPoints.data() + m_loops[i].first;
        const int count = int(m_loops[i].count);
        // An outer contour followed by an inner one is a ring: one fill, so that no seam shows.
        if (i + 1 == m_loops.size() || m_loops[i + 1].closed) {
            painter.drawPolygon(points, count);
            continue;
        }
        QPainterPath ring;
        ring.addPolygon(QPolygonF(QList<QPointF>(points, points + count)));
        const QPointF *hole = m_loopPoints.data() + m_loops[i + 1].first;
        ring.addPolygon(QPolygonF(QList<QPointF>(hole, hole + m_loops[i + 1].count)));
        painter.fillPath(ring, m_pen.brush());
        ++i;
    }
    painter.setBrush(Qt::NoBrush);
    m_loops.clear();
    m_loopPoints.clear();
}

void StrokeBatch::flush(QPainter &painter)
{
    drawHairlines(painter);
    if (!m_wideLines.empty()) {
        // One call per polyline: stroking them all as one path costs far more, as the outline's
        // overlaps all meet in one fill.
        painter.setPen(m_pen);
        const bool banded = BandedFill::suits(painter) && m_pen.capStyle() != Qt::RoundCap
            && m_pen.joinStyle() != Qt::RoundJoin;
        for (const WideLine &line : m_wideLines) {
            const QPointF *points = m_widePoints.data() + line.first;
            if (banded && BandedFill::worthCutting(line.count))
                fillOutline(painter, points, line);
            else if (line.closed)
                painter.drawPolygon(points, int(line.count));
            else
                painter.drawPolyline(points, int(line.count));
        }
        m_wideLines.clear();
        m_widePoints.clear();
    }
    if (!m_loops.empty())
        fillLoops(painter);
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
