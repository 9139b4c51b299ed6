#pragma once
// Small vector arithmetic on the display list's points and rectangles, shared by the interpreter
// and the renderer.

#include "plotviewer/model/DisplayList.h"

#include <algorithm>
#include <cmath>

namespace plotviewer {

inline Point add(Point a, Point b)
{
    return { a.x + b.x, a.y + b.y };
}

inline Point scaled(Point v, double factor)
{
    return { v.x * factor, v.y * factor };
}

inline double dot(Point a, Point b)
{
    return a.x * b.x + a.y * b.y;
}

/// `v` made one unit long; +x for a zero or non-finite vector.
inline Point unit(Point v)
{
    const double length = std::hypot(v.x, v.y);
    return length > 0 && std::isfinite(length) ? Point { v.x / length, v.y / length } : Point { 1, 0 };
}

/// The overlap of two rectangles; empty (see Rect::isEmpty) when they do not meet.
inline Rect intersected(const Rect &a, const Rect &b)
{
    return { std::max(a.left, b.left), std::max(a.bottom, b.bottom), std::min(a.right, b.right),
        std::min(a.top, b.top) };
}

/// The smallest rectangle holding `r` and `p`.
inline Rect extended(const Rect &r, Point p)
{
    return { std::min(r.left, p.x), std::min(r.bottom, p.y), std::max(r.right, p.x), std::max(r.top, p.y) };
}

/// The smallest rectangle holding both; an inverted `a` (left beyond right) holds nothing.
inline Rect united(const Rect &a, const Rect &b)
{
    return { std::min(a.left, b.left), std::min(a.bottom, b.bottom), std::max(a.right, b.right),
        std::max(a.top, b.top) };
}

inline Rect shifted(const Rect &r, Point by)
{
    return { r.left + by.x, r.bottom + by.y, r.right + by.x, r.top + by.y };
}

} // namespace plotviewer
