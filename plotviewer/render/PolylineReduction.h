#pragma once
// Dropping the points of device-space polylines that make no visible difference. A curve
// tessellated for paper shrinks this way to the few chords its size on the device needs, whatever
// chord angle the plot asked for. The first and last points always stay, and non-finite points
// are kept for the clipper to drop.

#include <QPointF>

#include <vector>

namespace plotviewer {

/// Drops the points within a quarter pixel of the last point kept: dense plots shrunk to a
/// preview are mostly such points.
void dropCrowdedPoints(std::vector<QPointF> &points);

/// Drops the points that lie within a given distance of the straight line that replaces them.
/// Not for hairlines: their segments are drawn one by one, and where segment ends overlap the
/// line shows darker, so fewer segments would change how heavy a curve looks.
class StraightRunReduction
{
public:
    /// `tolerance` in device pixels.
    explicit StraightRunReduction(double tolerance)
        : m_tolerance(tolerance)
    { }

    /// A closed outline keeps at least three points, so that a tiny shape still shows.
    void reduce(std::vector<QPointF> &points, bool closed);

private:
    double m_tolerance;
    std::vector<QPointF> m_whole; // a closed outline as it came, in case it reduces to a line
};

} // namespace plotviewer
