#include "ShapeOutlines.h"

#include "CurveTessellator.h"
#include "InstructionArguments.h"
#include "plotviewer/model/Geometry.h"

#include <cmath>
#include <numbers>

namespace plotviewer::hpgl::ShapeOutlines {

double chordAngle(const std::vector<double> &n, std::size_t index, double radius, bool chordDeviation)
{
    if (index >= n.size() || !std::isfinite(n[index]))
        return CurveTessellator::defaultChordAngle;
    if (chordDeviation)
        return CurveTessellator::chordAngleForDeviation(n[index], radius);
    return CurveTessellator::clampChordAngle(n[index]);
}

bool asksFinerChords(const std::vector<double> &n, std::size_t index, const Point *arc, bool chordDeviation)
{
    if (index >= n.size() || !std::isfinite(n[index]))
        return false;
    const auto through = CurveTessellator::arcThrough(arc[0], arc[1], arc[2]);
    const double radius
        = through ? std::hypot(arc[0].x - through->centre.x, arc[0].y - through->centre.y) : 0;
    return chordAngle(n, index, radius, chordDeviation) < CurveTessellator::defaultChordAngle;
}

std::vector<Point> arc(Point start, const std::vector<double> &n, bool relative, bool chordDeviation)
{
    std::vector<Point> points;
    if (n.size() < 3 || !allFinite(n))
        return points;
    const Point centre = relative ? add(start, { n[0], n[1] }) : Point { n[0], n[1] };
    const double radius = std::hypot(start.x - centre.x, start.y - centre.y);
    if (radius == 0)
        return points;
    CurveTessellator::appendArc(centre, start, n[2], chordAngle(n, 3, radius, chordDeviation), points);
    return points;
}

std::vector<Point> arcThreePoint(
    Point start, const std::vector<double> &n, bool relative, bool chordDeviation)
{
    std::vector<Point> points;
    if (n.size() < 4 || !allFinite(n))
        return points;
    const Point base = relative ? start : Point {};
    const Point middle = add(base, { n[0], n[1] });
    const Point end = add(base, { n[2], n[3] });
    const auto arcThrough = CurveTessellator::arcThrough(start, middle, end);
    if (arcThrough) {
        const double radius = std::hypot(start.x - arcThrough->centre.x, start.y - arcThrough->centre.y);
        CurveTessellator::appendArc(
            arcThrough->centre, start, arcThrough->sweep, chordAngle(n, 4, radius, chordDeviation), points);
    }
    if (points.empty())
        points.push_back(end);
    points.back() = end;
    return points;
}

std::vector<Point> circle(Point centre, const std::vector<double> &n, bool chordDeviation)
{
    if (n.empty() || !allFinite(n) || n[0] == 0)
        return {};
    const Point start { centre.x + n[0], centre.y };
    std::vector<Point> points { start };
    CurveTessellator::appendArc(centre, start, 360, chordAngle(n, 1, std::abs(n[0]), chordDeviation), points);
    return points;
}

std::vector<Point> wedge(Point centre, const std::vector<double> &n, bool chordDeviation)
{
    if (n.size() < 3 || !allFinite(n) || std::abs(n[2]) > 360 || n[0] == 0)
        return {};
    const double radius = std::abs(n[0]);
    const double startAngle = (n[0] < 0 ? n[1] + 180 : n[1]) * std::numbers::pi / 180;
    const Point start { centre.x + radius * std::cos(startAngle), centre.y + radius * std::sin(startAngle) };
    const bool fullCircle = std::abs(n[2]) >= 360;
    std::vector<Point> points;
    if (!fullCircle)
        points.push_back(centre);
    points.push_back(start);
    CurveTessellator::appendArc(
        centre, start, fullCircle ? 360 : n[2], chordAngle(n, 3, radius, chordDeviation), points);
    if (!fullCircle)
        points.push_back(centre);
    return points;
}

} // namespace plotviewer::hpgl::ShapeOutlines
