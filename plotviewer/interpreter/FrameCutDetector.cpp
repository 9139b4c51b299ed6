#include "FrameCutDetector.h"

#include "plotviewer/model/PlotUnits.h"

#include <algorithm>

namespace plotviewer::hpgl {

namespace {

// Rounding in the scaling maps must not count as lost ink: half a plotter unit is below any device's
// resolution.
constexpr double tolerance = 0.5;
// A frame that keeps less of the drawing's extent than this swallows the drawing rather than
// trimming it.
constexpr double minimumKeptShare = 0.5;

double area(const Rect &r)
{
    return std::max(r.right - r.left, 0.0) * std::max(r.top - r.bottom, 0.0);
}

} // namespace

FrameCutDetector::FrameCutDetector()
    : m_frame(everywhere)
    , m_window(m_frame)
{ }

void FrameCutDetector::watch(const Rect &frame, const Rect &window)
{
    const Rect widened { frame.left - tolerance, frame.bottom - tolerance, frame.right + tolerance,
        frame.top + tolerance };
    m_frame = RectClipper(widened);
    m_window = RectClipper(window);
    m_active = widened.left > window.left || widened.bottom > window.bottom || widened.right < window.right
        || widened.top < window.top;
}

bool FrameCutDetector::beyondFrame(Point p) const
{
    return RectClipper::isFinite(p) && !m_frame.contains(p);
}

bool FrameCutDetector::anyBeyondFrame(const std::vector<Point> &points) const
{
    return std::any_of(points.begin(), points.end(), [this](Point p) { return beyondFrame(p); });
}

void FrameCutDetector::noteCut(const std::vector<Point> &points)
{
    for (const Point &p : points) {
        if (!RectClipper::isFinite(p))
            continue;
        if (!m_cut) {
            m_cutBounds = { p.x, p.y, p.x, p.y };
            m_cut = true;
            continue;
        }
        m_cutBounds = { std::min(m_cutBounds.left, p.x), std::min(m_cutBounds.bottom, p.y),
            std::max(m_cutBounds.right, p.x), std::max(m_cutBounds.top, p.y) };
    }
}

void FrameCutDetector::checkPolyline(const std::vector<Point> &polyline)
{
    // Most marks lie inside the frame; only those that leave it need clipping to the window.
    if (!m_active || !anyBeyondFrame(polyline))
        return;
    m_window.clipPolyline(polyline, [this](const std::vector<Point> &piece) {
        if (anyBeyondFrame(piece))
            noteCut(piece);
    });
}

void FrameCutDetector::checkPolygon(const std::vector<Point> &polygon)
{
    if (!m_active || !anyBeyondFrame(polygon))
        return;
    const std::vector<Point> visible = m_window.clipPolygon(polygon);
    if (anyBeyondFrame(visible))
        noteCut(visible);
}

void FrameCutDetector::checkPoint(Point p)
{
    if (m_active && beyondFrame(p) && m_window.contains(p))
        noteCut({ p });
}

bool FrameCutDetector::cutMost(const Rect *kept) const
{
    if (!m_cut)
        return false;
    if (kept == nullptr)
        return true;
    const Rect all { std::min(kept->left, m_cutBounds.left), std::min(kept->bottom, m_cutBounds.bottom),
        std::max(kept->right, m_cutBounds.right), std::max(kept->top, m_cutBounds.top) };
    return area(*kept) < minimumKeptShare * area(all);
}

} // namespace plotviewer::hpgl
