#pragma once
// Notices when the hard-clip frame cuts away ink that the soft-clip window would have kept, and how
// much: the sign of a page frame that does not hold its drawing.

#include "plotviewer/model/RectClipper.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace plotviewer::hpgl {

class FrameCutDetector
{
public:
    FrameCutDetector();

    /// Starts noting ink beyond `frame` inside `window`.
    void watch(const Rect &frame, const Rect &window);
    /// Whether the frame cuts into the window anywhere; when not, nothing needs checking.
    bool watching() const { return m_active; }

    /// Whether `points` reach beyond the frame, where the clip may cut them.
    bool reachesBeyond(std::span<const Point> points) const { return m_active && anyBeyondFrame(points); }
    /// Each mark with the amount of it the clip kept (see inkAmount), and for a polyline whether it
    /// reachesBeyond; true when the mark reached beyond the frame inside the window.
    bool checkPolyline(std::span<const Point> polyline, double kept, bool beyond);
    bool checkPolygon(std::span<const Point> polygon, double kept);
    /// A point that stands for a whole mark of `amount` ink, such as a character cell's centre, and
    /// whether the clip kept it.
    bool checkPoint(Point p, double amount, bool kept);

    /// Whether anything checked since the last reset reached beyond the frame inside the window,
    /// cut away or (where the frame only watches) kept.
    bool cut() const { return m_cut; }
    /// Whether the clip took away ink beyond the frame, and whether more than it kept.
    bool cutAway() const { return m_cutAmount > 0; }
    bool cutMost() const { return m_cutAmount > m_keptAmount; }
    void reset();

    /// `frame` widened by what rounding in the scaling maps may put beyond it.
    static Rect widened(const Rect &frame);
    /// How much ink a line along `points` lays: its length in plotter units along the axes, which
    /// is cheap and serves to compare amounts.
    static double inkAmount(std::span<const Point> points, bool closed);
    static double segmentInk(Point a, Point b) { return std::abs(b.x - a.x) + std::abs(b.y - a.y); }
    /// The ink of a mark whose segments add up to `length`: a dot lays a little too.
    static double markInk(double length) { return std::isfinite(length) ? std::max(length, 1.0) : 0; }

private:
    bool beyondFrame(Point p) const;
    bool anyBeyondFrame(std::span<const Point> points) const;

    RectClipper m_frame; // widened by a tolerance
    RectClipper m_window;
    bool m_windowEverywhere = true;
    bool m_active = false; // watched, and the frame cuts into the window somewhere
    bool m_cut = false;
    double m_keptAmount = 0;
    double m_cutAmount = 0;
};

} // namespace plotviewer::hpgl
