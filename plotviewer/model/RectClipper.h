#pragma once
// Clips polylines (Liang-Barsky) and polygons (Sutherland-Hodgman) to an axis-aligned rectangle in
// double precision, for the interpreter's page frame and the renderer's device bounds alike.
// Points that are not finite break a polyline and are dropped from a polygon.

#include "DisplayList.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

namespace plotviewer {

class RectClipper
{
public:
    /// The rectangle's sides; Bottom is the side of least y, whichever way y runs.
    enum class Edge : unsigned char { Left, Right, Bottom, Top };

    explicit RectClipper(const Rect &rect)
        : m_rect(rect)
        , m_finiteSides(isFinite({ rect.left, rect.bottom }) && isFinite({ rect.right, rect.top }))
    { }

    const Rect &rect() const { return m_rect; }
    bool contains(Point p) const
    {
        return p.x >= m_rect.left && p.x <= m_rect.right && p.y >= m_rect.bottom && p.y <= m_rect.top;
    }

    /// Whether every point is finite and inside: then clipping hands the points back as they are.
    bool containsAll(std::span<const Point> points) const
    {
        if (!m_finiteSides)
            return std::all_of(
                points.begin(), points.end(), [this](Point p) { return isFinite(p) && contains(p); });
        // Within finite sides every point is finite. No branch per point: nearly all are inside.
        bool inside = true;
        for (const Point &p : points)
            inside &= (p.x >= m_rect.left) & (p.x <= m_rect.right) & (p.y >= m_rect.bottom)
                & (p.y <= m_rect.top);
        return inside;
    }

    /// Shortens the segment to the part inside; false when no part is inside or it is not finite.
    bool clipSegment(Point &from, Point &to) const;

    /// Calls `sink(std::span<const Point>)` for each visible piece; a single point is a dot.
    template<typename Sink> void clipPolyline(std::span<const Point> points, Sink &&sink) const
    {
        if (points.size() == 1) {
            if (isFinite(points[0]) && contains(points[0]))
                sink(points);
            return;
        }
        // Most polylines lie wholly inside: they are their own piece, with nothing to copy.
        if (points.size() >= 2 && containsAll(points)) {
            sink(points);
            return;
        }
        std::vector<Point> piece;
        for (std::size_t i = 1; i < points.size(); ++i) {
            Point from = points[i - 1];
            Point to = points[i];
            // Most segments lie wholly inside and need no cutting; contains() is false for non-finite points.
            const bool inside = contains(from) && contains(to);
            if (!inside && !clipSegment(from, to)) {
                flush(piece, sink);
                continue;
            }
            if (!piece.empty() && (piece.back().x != from.x || piece.back().y != from.y))
                flush(piece, sink);
            if (piece.empty())
                piece.push_back(from);
            piece.push_back(to);
            if (to.x != points[i].x || to.y != points[i].y)
                flush(piece, sink);
        }
        flush(piece, sink);
    }

    /// The part of a closed polygon inside the rectangle (empty when nothing is left). The area
    /// covered under either fill rule is kept; edges may run along the rectangle.
    std::vector<Point> clipPolygon(std::vector<Point> polygon) const;

    static bool isFinite(Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }

private:
    bool inside(Point p, Edge edge) const;
    double edgeCoordinate(Edge edge) const;
    Point onEdge(Point p, Edge edge) const;
    Point crossing(Point a, Point b, Edge edge) const;

    template<typename Sink> static void flush(std::vector<Point> &piece, Sink &sink)
    {
        if (piece.size() >= 2)
            sink(std::span<const Point>(piece));
        piece.clear();
    }

    Rect m_rect;
    bool m_finiteSides; // asked of every mark, for dashes two points at a time
    mutable std::vector<Point> m_scratch;
};

} // namespace plotviewer
