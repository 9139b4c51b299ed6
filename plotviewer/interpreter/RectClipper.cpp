#include "RectClipper.h"

#include <algorithm>

namespace plotviewer::hpgl {

bool RectClipper::clipSegment(Point &from, Point &to) const
{
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    double enter = 0;
    double leave = 1;
    int enterEdge = -1;
    int leaveEdge = -1;
    const double p[4] = { -dx, dx, -dy, dy };
    const double q[4]
        = { from.x - m_rect.left, m_rect.right - from.x, from.y - m_rect.bottom, m_rect.top - from.y };
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > leave)
                return false;
            if (t > enter) {
                enter = t;
                enterEdge = i;
            }
        } else {
            if (t < enter)
                return false;
            if (t < leave) {
                leave = t;
                leaveEdge = i;
            }
        }
    }
    const Point start = from;
    if (leaveEdge >= 0)
        to = onEdge({ start.x + leave * dx, start.y + leave * dy }, leaveEdge);
    if (enterEdge >= 0)
        from = onEdge({ start.x + enter * dx, start.y + enter * dy }, enterEdge);
    return true;
}

Point RectClipper::onEdge(Point p, int edge) const
{
    // With huge coordinates the interpolation loses the digits that matter: put the crossing exactly
    // on the edge it crosses and keep it inside the rectangle.
    p.x = std::clamp(p.x, m_rect.left, m_rect.right);
    p.y = std::clamp(p.y, m_rect.bottom, m_rect.top);
    switch (edge) {
    case 0:
        p.x = m_rect.left;
        break;
    case 1:
        p.x = m_rect.right;
        break;
    case 2:
        p.y = m_rect.bottom;
        break;
    default:
        p.y = m_rect.top;
        break;
    }
    return p;
}

std::vector<Point> RectClipper::clipPolygon(const std::vector<Point> &polygon) const
{
    // Most fills lie wholly inside, where the passes below would hand back the same points.
    if (std::all_of(polygon.begin(), polygon.end(), [this](Point p) { return isFinite(p) && contains(p); }))
        return polygon;
    std::vector<Point> input;
    input.reserve(polygon.size());
    for (const Point &p : polygon) {
        if (isFinite(p))
            input.push_back(p);
    }
    std::vector<Point> output;
    // One pass per edge: keep the points on the inner side, add the crossings.
    for (int edge = 0; edge < 4 && !input.empty(); ++edge) {
        auto inside = [&](Point p) {
            switch (edge) {
            case 0:
                return p.x >= m_rect.left;
            case 1:
                return p.x <= m_rect.right;
            case 2:
                return p.y >= m_rect.bottom;
            default:
                return p.y <= m_rect.top;
            }
        };
        auto crossing = [&](Point a, Point b) {
            double t = 0;
            switch (edge) {
            case 0:
                t = (m_rect.left - a.x) / (b.x - a.x);
                break;
            case 1:
                t = (m_rect.right - a.x) / (b.x - a.x);
                break;
            case 2:
                t = (m_rect.bottom - a.y) / (b.y - a.y);
                break;
            default:
                t = (m_rect.top - a.y) / (b.y - a.y);
                break;
            }
            return Point { a.x + t * (b.x - a.x), a.y + t * (b.y - a.y) };
        };
        output.clear();
        Point previous = input.back();
        bool previousInside = inside(previous);
        for (const Point &current : input) {
            const bool currentInside = inside(current);
            if (currentInside != previousInside)
                output.push_back(crossing(previous, current));
            if (currentInside)
                output.push_back(current);
            previous = current;
            previousInside = currentInside;
        }
        input.swap(output);
    }
    return input;
}

} // namespace plotviewer::hpgl
