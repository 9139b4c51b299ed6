#pragma once

#include <QPen>
#include <QPointF>

#include <vector>

namespace plotviewer {

/// The area a wide pen covers going once round a small convex loop, as polygons to fill. Qt
/// strokes a line by building and filling an outline of every segment and join, overlaps and
/// all, which costs many times the fill of the shape it makes; the pads and tracks of circuit
/// boards are such loops by the thousand. The area is the loop grown by half the pen, with the
/// joins the pen asks for, miter (within its limit) or bevel, less the loop shrunk by half the pen
/// where the pen leaves a hole; an open polyline that ends where it started keeps its butt ends
/// there.
class ConvexLoopStroke
{
public:
    /// Sets `outer`, and `inner` to the hole or to nothing, and returns true when `points` (in
    /// device coordinates, a polyline drawn with `pen`, `closed` when its last point joins its
    /// first) is such a loop; false otherwise, and then Qt must stroke it.
    bool outline(const std::vector<QPointF> &points, bool closed, const QPen &pen,
        std::vector<QPointF> &outer, std::vector<QPointF> &inner);

private:
    bool takeCorners(const std::vector<QPointF> &points, bool closed, int &side);
    bool shrink(double halfWidth, std::vector<QPointF> &inner) const;

    std::vector<QPointF> m_corners;
    std::vector<QPointF> m_normals; // outward, one per edge: the edge from corner i to corner i + 1
};

} // namespace plotviewer
