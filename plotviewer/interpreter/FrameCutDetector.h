#pragma once
// Notices when the hard-clip frame cuts away ink that the soft-clip window would have kept, and how
// far that ink reaches: the sign of a page frame that does not hold its drawing.

#include "plotviewer/model/RectClipper.h"

#include <vector>

namespace plotviewer::hpgl {

class FrameCutDetector
{
public:
    FrameCutDetector();

    /// Starts noting ink beyond `frame` inside `window`.
    void watch(const Rect &frame, const Rect &window);

    void checkPolyline(const std::vector<Point> &polyline);
    void checkPolygon(const std::vector<Point> &polygon);
    /// A point that stands for a whole mark, such as a character cell's centre.
    void checkPoint(Point p);

    /// Whether anything checked since the last reset reached beyond the frame inside the window.
    bool cut() const { return m_cut; }
    /// Whether the frame kept less than half of the drawing's extent, given the extent of the ink
    /// it kept (`kept`, null when it kept none).
    bool cutMost(const Rect *kept) const;
    void reset() { m_cut = false; }

private:
    bool beyondFrame(Point p) const;
    bool anyBeyondFrame(const std::vector<Point> &points) const;
    void noteCut(const std::vector<Point> &points);

    RectClipper m_frame; // widened by a tolerance
    RectClipper m_window;
    bool m_active = false; // watched, and the frame cuts into the window somewhere
    bool m_cut = false;
    Rect m_cutBounds; // the extent of the cut ink inside the window, when m_cut
};

} // namespace plotviewer::hpgl
