#pragma once

#include "ConvexLoopStroke.h"
#include "DeviceClipper.h"
#include "PolylineReduction.h"

#include <QLineF>
#include <QPen>

#include <vector>

class QPainter;

namespace plotviewer {

/// Collects strokes of one pen in device coordinates, clipped, and paints them in as few calls as
/// possible: hairlines a few thousand a drawLines call, wider lines one polyline a call (so joins stay
/// right), dots as one drawPoints call.
class StrokeBatch
{
public:
    explicit StrokeBatch(const DeviceClipper &clipper);

    /// Paints what was collected, then collects for `pen` from now on.
    void setPen(QPainter &painter, const QPen &pen);
    /// A polyline; a single point is a dot as wide as the pen. Points that make no visible
    /// difference are dropped from `points` first (see PolylineReduction). Hairlines are painted
    /// on `painter` once many have gathered.
    void addPolyline(QPainter &painter, std::vector<QPointF> &points, bool closed);
    void flush(QPainter &painter);

private:
    void addHairline(const std::vector<QPointF> &points, bool closed);
    void drawHairlines(QPainter &painter);
    void addWideLine(const std::vector<QPointF> &points, bool closed);
    template<typename Visit>
    void forEachVisibleSegment(const std::vector<QPointF> &points, bool closed, Visit visit) const;

    const DeviceClipper &m_clipper;
    StraightRunReduction m_straightRuns;
    QPen m_pen;
    std::vector<QLineF> m_lines;
    struct WideLine
    {
        std::uint32_t first = 0;
        std::uint32_t count = 0;
        bool closed = false;
    };
    /// A wide line of many points, as its outline cut into bands (see BandedFill).
    void fillOutline(QPainter &painter, const QPointF *points, const WideLine &line);

    std::vector<QPointF> m_widePoints;
    std::vector<WideLine> m_wideLines;
    /// The area of a wide line round a small convex loop (see ConvexLoopStroke): its outer
    /// contour, or the hole in it, which follows the outer one.
    void addLoop(const std::vector<QPointF> &contour, bool outer);
    void fillLoops(QPainter &painter);

    ConvexLoopStroke m_convexLoops;
    std::vector<QPointF> m_loopOuter;
    std::vector<QPointF> m_loopInner;
    std::vector<QPointF> m_loopPoints;
    std::vector<WideLine> m_loops; // `closed` marks an outer contour
    std::vector<QPointF> m_dots;
};

} // namespace plotviewer
