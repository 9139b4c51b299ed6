#pragma once
// A 2-D affine map x' = a*x + c*y + e, y' = b*x + d*y + f.

#include "plotviewer/model/DisplayList.h"

namespace plotviewer::hpgl {

struct AffineMap
{
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    static AffineMap scaling(double sx, double sy) { return { sx, 0, 0, sy, 0, 0 }; }

    Point map(Point p) const { return { a * p.x + c * p.y + e, b * p.x + d * p.y + f }; }
    Point mapVector(Point v) const { return { a * v.x + c * v.y, b * v.x + d * v.y }; }
    /// This map followed by `next`.
    AffineMap then(const AffineMap &next) const;
    /// The inverse; the identity when this map is singular.
    AffineMap inverted() const;
    /// The bounding rectangle of the mapped rectangle.
    Rect mapRect(const Rect &r) const;
};

} // namespace plotviewer::hpgl
