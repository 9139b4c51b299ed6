#include "FrameCutDetector.h"

#include "plotviewer/model/PlotUnits.h"

#include <algorithm>
#include <cmath>

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

Rect FrameCutDetector::widened(const Rect &frame)
{
    return { frame.left - tolerance, frame.bottom - tolerance, frame.right + tolerance,
        frame.top + tolerance };
}

void FrameCutDetector::watch(const Rect &frame, const Rect &window)
{
    const Rect widened = FrameCutDetector::widened(frame);
    m_frame = RectClipper(widened);
    m_window = RectClipper(window);
    m_windowEverywhere = window.left <= everywhere.left && window.bottom <= everywhere.bottom
        && window.right >= everywhere.right && window.top >= everywhere.top;
    m_active = widened.left > window.left || widened.bottom > window.bottom || widened.right < window.right
        || widened.top < window.top;
}

void FrameCutDetector::reset()
{
    m_cut = false;
    m_keptAmount = m_cutAmount = 0;
}

double FrameCutDetector::inkAmount(std::span<const Point> points, bool closed)
{
    double length = 0;
    for (std::size_t i = 1; i < points.size(); ++i)
        length += segmentInk(points[i - 1], points[i]);
    if (closed && points.size() > 2)
        length += segmentInk(points.back(), points.front());
    return markInk(length);
}

bool FrameCutDetector::beyondFrame(Point p) const
{
    return RectClipper::isFinite(p) && !m_frame.contains(p);
}

bool FrameCutDetector::anyBeyondFrame(std::span<const Point> points) const
{
    if (m_frame.containsAll(points))
        return false; // the usual case, told without a branch per point
    return std::any_of(points.begin(), points.end(), [this](Point p) { return beyondFrame(p); });
}

bool FrameCutDetector::checkPolyline(std::span<const Point> polyline, double kept, bool beyond)
{
    if (!m_active)
        return false;
    m_keptAmount += kept;
    // Most marks lie inside the frame, where the clip keeps all the window lets through.
    if (!beyond)
        return false;
    double inWindow = 0;
    bool cut = false;
    if (m_windowEverywhere) {
        inWindow = inkAmount(polyline, false);
        cut = true;
    } else {
        m_window.clipPolyline(polyline, [&](std::span<const Point> piece) {
            inWindow += inkAmount(piece, false);
            cut = cut || anyBeyondFrame(piece);
        });
    }
    if (cut) {
        m_cut = true;
        m_cutAmount += std::max(inWindow - kept, 0.0);
    }
    return cut;
}

bool FrameCutDetector::checkPolygon(std::span<const Point> polygon, double kept)
{
    if (!m_active)
        return false;
    m_keptAmount += kept;
    if (!anyBeyondFrame(polygon))
        return false;
    std::vector<Point> clipped;
    std::span<const Point> visible = polygon;
    if (!m_windowEverywhere) {
        clipped = m_window.clipPolygon({ polygon.begin(), polygon.end() });
        visible = clipped;
    }
    if (!anyBeyondFrame(visible))
        return false;
    m_cut = true;
    m_cutAmount += std::max(inkAmount(visible, true) - kept, 0.0);
    return true;
}

bool FrameCutDetector::checkPoint(Point p, double amount, bool kept)
{
    if (!m_active)
        return false;
    // A frame that only watches keeps what lies beyond it: that reaches beyond, but is not cut away.
    if (kept)
        m_keptAmount += amount;
    if (!beyondFrame(p) || !m_window.contains(p))
        return false;
    m_cut = true;
    if (!kept)
        m_cutAmount += amount;
    return true;
}

} // namespace plotviewer::hpgl
