#pragma once
// Turns arcs, circles and Bézier curves into chords. Arcs are generated in user units so that
// mirrored or anisotropic scaling maps them correctly afterwards.

#include "plotviewer/model/DisplayList.h"

#include <optional>
#include <vector>

namespace plotviewer::hpgl {

class CurveTessellator
{
public:
    static constexpr double defaultChordAngle = 5;

    /// Appends the points of an arc about `centre` starting at `start` (not appended) and sweeping
    /// `sweep` degrees, counter-clockwise when positive. Beyond 360° the arc overdraws once.
    static void appendArc(
        Point centre, Point start, double sweep, double chordAngle, std::vector<Point> &out);

    struct ArcThroughPoints
    {
        Point centre;
        double sweep = 0;
    };
    /// The arc from `start` through `middle` to `end`; none when the points are collinear or coincide.
    static std::optional<ArcThroughPoints> arcThrough(Point start, Point middle, Point end);

    /// Appends the points of a cubic Bézier curve after `p0`, with a chord count fitted to its size.
    static void appendBezier(Point p0, Point p1, Point p2, Point p3, std::vector<Point> &out);

    /// Chord angle for a maximum deviation `deviation` from a circle of `radius` (CT1).
    static double chordAngleForDeviation(double deviation, double radius);

    static double clampChordAngle(double angle);
};

} // namespace plotviewer::hpgl
