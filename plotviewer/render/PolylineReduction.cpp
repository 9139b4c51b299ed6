#include "PolylineReduction.h"

#include <algorithm>
#include <cmath>

namespace plotviewer {

namespace {

// A run of left-out points is checked whole against each new chord; bounding it keeps the work
// linear in the number of points.
constexpr std::size_t longestChord = 64;

double squaredLength(QPointF v)
{
    return v.x() * v.x() + v.y() * v.y();
}

// Whether `p` lies within `tolerance` of the segment from `a` to `b`. False for a non-finite point.
bool nearSegment(QPointF p, QPointF a, QPointF b, double tolerance)
{
    const QPointF ab = b - a;
    const double length = squaredLength(ab);
    double t = length > 0 ? ((p.x() - a.x()) * ab.x() + (p.y() - a.y()) * ab.y()) / length : 0;
    t = std::clamp(t, 0.0, 1.0);
    return squaredLength(p - (a + t * ab)) <= tolerance * tolerance;
}

} // namespace

bool dropsAskedChords(const Page &page, const PageTransform &transform)
{
    const double scale = transform.mapLength(1);
    for (const FineCurves &curves : page.fineCurves) {
        if (curves.penWidth < 0) {
            if (curves.bend * scale <= areaEdgeTolerance)
                return true;
            continue;
        }
        if (curves.chord * scale < crowdedStep)
            return true;
        // Hairlines lose crowded points only (see StraightRunReduction).
        if (transform.penWidth(curves.penWidth) > 0 && curves.bend * scale <= wideLineTolerance)
            return true;
    }
    return false;
}

void dropCrowdedPoints(std::vector<QPointF> &points)
{
    if (points.size() < 3)
        return;
    std::size_t kept = 0;
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
        // Written so that a non-finite point is kept.
        if (!(squaredLength(points[i] - points[kept]) < crowdedStep * crowdedStep))
            points[++kept] = points[i];
    }
    points[++kept] = points.back();
    points.resize(kept + 1);
}

namespace {

void dropStraightPoints(std::vector<QPointF> &points, double tolerance)
{
    // `points` is rewritten in place: the kept points move to the front, never past one still read.
    QPointF anchor = points.front();
    std::size_t anchorIndex = 0;
    std::size_t kept = 0;
    for (std::size_t i = 2; i < points.size(); ++i) {
        bool straight = i - anchorIndex <= longestChord;
        for (std::size_t j = anchorIndex + 1; straight && j < i; ++j)
            straight = nearSegment(points[j], anchor, points[i], tolerance);
        if (straight)
            continue;
        anchor = points[i - 1];
        anchorIndex = i - 1;
        points[++kept] = anchor;
    }
    points[++kept] = points.back();
    points.resize(kept + 1);
}

} // namespace

void StraightRunReduction::reduce(std::vector<QPointF> &points, bool closed)
{
    if (points.size() < 3 || (closed && points.size() == 3))
        return;
    if (closed)
        m_whole.assign(points.begin(), points.end());
    dropStraightPoints(points, m_tolerance);
    if (closed && points.size() < 3)
        points.assign(m_whole.begin(), m_whole.end());
}

} // namespace plotviewer
