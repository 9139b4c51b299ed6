#pragma once
// Dropping the points of device-space polylines that make no visible difference. A curve
// tessellated for paper shrinks this way to the few chords its size on the device needs, whatever
// chord angle the plot asked for. The first and last points always stay, and non-finite points
// are kept for the clipper to drop.

#include "PageTransform.h"

#include <QPointF>

#include <vector>

namespace plotviewer {

// How far, in device pixels, the drawing may move for fewer points. The output's pixels set the
// bound: what moves by a small fraction of one cannot be seen, whatever the plot asked for.

/// Points closer than this to the last one kept change nothing visible but cost a segment each.
inline constexpr double crowdedStep = 0.25;
/// How far a wide line may stray from the points left out of it: a tenth of a pixel on an edge the
/// pen moves at least a pixel away from them.
inline constexpr double wideLineTolerance = 0.1;
/// How far an area's edge may stray: far less than a wide line, as an area can be thinner than a
/// pixel, and moving both its sides would darken it.
inline constexpr double areaEdgeTolerance = 0.02;

/// Whether drawing `page` through `transform` leaves out chords of curves the plot asked for in
/// finer chords than the default (see FineCurves): chords these reductions drop.
bool dropsAskedChords(const Page &page, const PageTransform &transform);

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
