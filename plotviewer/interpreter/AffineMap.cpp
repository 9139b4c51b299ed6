#include "AffineMap.h"

#include <algorithm>
#include <cmath>

namespace plotviewer::hpgl {

AffineMap AffineMap::then(const AffineMap &next) const
{
    return { next.a * a + next.c * b, next.b * a + next.d * b, next.a * c + next.c * d,
        next.b * c + next.d * d, next.a * e + next.c * f + next.e, next.b * e + next.d * f + next.f };
}

AffineMap AffineMap::inverted() const
{
    const double determinant = a * d - b * c;
    if (determinant == 0 || !std::isfinite(determinant))
        return {};
    const double ia = d / determinant;
    const double ib = -b / determinant;
    const double ic = -c / determinant;
    const double id = a / determinant;
    return { ia, ib, ic, id, -(ia * e + ic * f), -(ib * e + id * f) };
}

Rect AffineMap::mapRect(const Rect &r) const
{
    const Point corners[4] = { map({ r.left, r.bottom }), map({ r.right, r.bottom }), map({ r.left, r.top }),
        map({ r.right, r.top }) };
    Rect result { corners[0].x, corners[0].y, corners[0].x, corners[0].y };
    for (const Point &p : corners) {
        result.left = std::min(result.left, p.x);
        result.right = std::max(result.right, p.x);
        result.bottom = std::min(result.bottom, p.y);
        result.top = std::max(result.top, p.y);
    }
    return result;
}

} // namespace plotviewer::hpgl
