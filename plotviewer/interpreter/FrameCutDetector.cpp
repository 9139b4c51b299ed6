#include "FrameCutDetector.h"

#include "plotviewer/model/PlotUnits.h"

#include <algorithm>

namespace plotviewer::hpgl {

namespace {

// Rounding in the scaling maps must not count as lost ink: half a plotter unit is below any device's
// resolution.
constexpr double tolerance = 0.5;

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

void FrameCutDetector::checkPolyline(const std::vector<Point> &polyline)
{
    // Most marks lie inside the frame; only those that leave it need clipping to the window.
    if (!watching() || !anyBeyondFrame(polyline))
        return;
    m_window.clipPolyline(polyline, [this](const std::vector<Point> &piece) {
        if (anyBeyondFrame(piece))
            m_cut = true;
    });
}

void FrameCutDetector::checkPolygon(const std::vector<Point> &polygon)
{
    if (watching() && anyBeyondFrame(polygon) && anyBeyondFrame(m_window.clipPolygon(polygon)))
        m_cut = true;
}

void FrameCutDetector::checkPoint(Point p)
{
    if (watching() && beyondFrame(p) && m_window.contains(p))
        m_cut = true;
}

} // namespace plotviewer::hpgl
