#pragma once
// Notices when the hard-clip frame cuts away ink that the soft-clip window would have kept: the
// sign of a plot size that does not hold its drawing.

#include "plotviewer/model/RectClipper.h"

#include <vector>

namespace plotviewer::hpgl {

class FrameCutDetector
{
public:
    FrameCutDetector();

    /// Starts noting ink beyond `frame` inside `window`.
    void watch(const Rect &frame, const Rect &window);
    void unwatch() { m_active = false; } // nothing is noted until the next watch()

    void checkPolyline(const std::vector<Point> &polyline);
    void checkPolygon(const std::vector<Point> &polygon);
    /// A point that stands for a whole mark, such as a character cell's centre.
    void checkPoint(Point p);

    /// Whether anything checked since the last reset reached beyond the frame inside the window.
    bool cut() const { return m_cut; }
    void reset() { m_cut = false; }

private:
    bool watching() const { return m_active && !m_cut; }
    bool beyondFrame(Point p) const;
    bool anyBeyondFrame(const std::vector<Point> &points) const;

    RectClipper m_frame; // widened by a tolerance
    RectClipper m_window;
    bool m_active = false; // watched, and the frame cuts into the window somewhere
    bool m_cut = false;
};

} // namespace plotviewer::hpgl
