#include "ConvexLoopStroke.h"

#include <algorithm>
#include <cmath>

namespace plotviewer {

namespace {

// Larger loops are rare and cost Qt little more per corner; checking them would cost more.
constexpr std::size_t mostCorners = 64;
// Shorter edges are repeated points, whose direction means nothing; Qt's stroker skips them.
constexpr double shortestEdge = 1e-9;

double cross(QPointF a, QPointF b)
{
    return a.x() * b.y() - a.y() * b.x();
}

double squaredLength(QPointF v)
{
    return QPointF::dotProduct(v, v);
}

// Where the line through `a` along `along` meets the line through `b` along `next`.
QPointF meet(QPointF a, QPointF along, QPointF b, QPointF next)
{
    return a + along * (cross(b - a, next) / cross(along, next));
}

} // namespace

bool ConvexLoopStroke::takeCorners(const std::vector<QPointF> &points, bool closed, int &side)
{
    const bool returns = points.back() == points.front();
    m_corners.clear();
    for (std::size_t i = 0; i + (returns ? 1 : 0) < points.size(); ++i) {
        if (m_corners.empty() || squaredLength(points[i] - m_corners.back()) > shortestEdge * shortestEdge)
            m_corners.push_back(points[i]);
    }
    while (m_corners.size() > 1
        && squaredLength(m_corners.back() - m_corners.front()) <= shortestEdge * shortestEdge)
        m_corners.pop_back();
    const std::size_t n = m_corners.size();
    if (n < 3 || (!closed && !returns))
        return false;
    // Convex: every corner turns the same way, and the edges go round once, so that their
    // direction passes from pointing down to pointing up exactly once.
    side = 0;
    int upTurns = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const QPointF in = m_corners[i] - m_corners[(i + n - 1) % n];
        const QPointF out = m_corners[(i + 1) % n] - m_corners[i];
        const double turn = cross(in, out);
        const int sign = turn > 0 ? 1 : turn < 0 ? -1 : 0;
        if (sign != 0 && side != 0 && sign != side)
            return false;
        side = side != 0 ? side : sign;
        upTurns += in.y() < 0 && out.y() >= 0 ? 1 : 0;
    }
    return side != 0 && upTurns == 1;
}

bool ConvexLoopStroke::shrink(double halfWidth, std::vector<QPointF> &inner) const
{
    // Each edge moves inwards by half the pen; the hole's corners are where neighbours meet. An
    // edge that would turn round has vanished, and then the hole is not that simple shape.
    const std::size_t n = m_corners.size();
    inner.clear();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t before = (i + n - 1) % n;
        const QPointF in = m_corners[i] - m_corners[before];
        const QPointF out = m_corners[(i + 1) % n] - m_corners[i];
        inner.push_back(meet(m_corners[before] - m_normals[before] * halfWidth, in,
            m_corners[i] - m_normals[i] * halfWidth, out));
    }
    for (std::size_t i = 0; i < n; ++i) {
        const QPointF edge = m_corners[(i + 1) % n] - m_corners[i];
        if (!(QPointF::dotProduct(inner[(i + 1) % n] - inner[i], edge) > 0))
            return false;
    }
    return true;
}

bool ConvexLoopStroke::outline(const std::vector<QPointF> &points, bool closed, const QPen &pen,
    std::vector<QPointF> &outer, std::vector<QPointF> &inner)
{
    const Qt::PenJoinStyle join = pen.joinStyle();
    if (points.size() < 3 || points.size() > mostCorners + 1
        || (join != Qt::MiterJoin && join != Qt::BevelJoin) || (!closed && pen.capStyle() != Qt::FlatCap))
        return false;
    int side = 0;
    if (!takeCorners(points, closed, side))
        return false;

    // The pen leaves no hole when the loop is no wider, in some direction, than the pen.
    const std::size_t n = m_corners.size();
    const double halfWidth = pen.widthF() / 2;
    double narrowest = qInf();
    m_normals.clear();
    for (std::size_t i = 0; i < n; ++i) {
        const QPointF along = m_corners[(i + 1) % n] - m_corners[i];
        const double length = std::sqrt(squaredLength(along));
        double widest = 0;
        for (const QPointF corner : m_corners)
            widest = std::max(widest, std::abs(cross(along, corner - m_corners[i])));
        narrowest = std::min(narrowest, widest / length);
        // Outward is to the right of a loop turning left, and to the left of one turning right.
        m_normals.push_back(QPointF(side * along.y(), -side * along.x()) / length);
    }
    inner.clear();
    if (!(narrowest <= 2 * halfWidth) && !shrink(halfWidth, inner))
        return false;

    outer.clear();
    const double miterReach = pen.widthF() * pen.miterLimit(); // as far as Qt lets a miter reach
    for (std::size_t i = 0; i < n; ++i) {
        const QPointF corner = m_corners[i];
        const QPointF before = m_normals[(i + n - 1) % n];
        const QPointF after = m_normals[i];
        if (i == 0 && !closed) {
            outer.push_back(corner + before * halfWidth);
            outer.push_back(corner);
            outer.push_back(corner + after * halfWidth);
            continue;
        }
        if (join == Qt::BevelJoin) {
            outer.push_back(corner + before * halfWidth);
            outer.push_back(corner + after * halfWidth);
            continue;
        }
        // The edges' outer sides meet halfWidth / cos(turn / 2) from the corner.
        const double facing = 1 + QPointF::dotProduct(before, after);
        if (!(facing > 0 && halfWidth * std::sqrt(2 / facing) <= miterReach))
            return false; // Qt cuts the miter off at its limit
        outer.push_back(corner + (before + after) * (halfWidth / facing));
    }
    return true;
}

} // namespace plotviewer
