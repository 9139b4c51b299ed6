#include "CurveTessellator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace plotviewer::hpgl {

namespace {

constexpr double degree = std::numbers::pi / 180;
// An arc's points are worked out from its angle at every this many chords, turned in between.
constexpr int exactEvery = 16;

double distance(Point a, Point b)
{
    return std::hypot(b.x - a.x, b.y - a.y);
}

} // namespace

double CurveTessellator::clampChordAngle(double angle)
{
    if (!std::isfinite(angle))
        return defaultChordAngle;
    return std::clamp(std::abs(angle), 0.5, 180.0);
}

double CurveTessellator::chordAngleForDeviation(double deviation, double radius)
{
    if (!(radius > 0) || !(deviation > 0))
        return defaultChordAngle;
    const double ratio = std::clamp(1 - deviation / radius, -1.0, 1.0);
    return clampChordAngle(2 * std::acos(ratio) / degree);
}

void CurveTessellator::appendArc(
    Point centre, Point start, double sweep, double chordAngle, std::vector<Point> &out)
{
    const double radius = distance(centre, start);
    if (!std::isfinite(radius) || !std::isfinite(sweep) || sweep == 0)
        return;
    const double startAngle = std::atan2(start.y - centre.y, start.x - centre.x);
    // Past a full turn draw one turn plus the remainder: the end point stays right.
    double drawn = std::abs(sweep);
    if (drawn > 360)
        drawn = 360 + std::fmod(drawn, 360.0);
    const double direction = sweep < 0 ? -1 : 1;
    const int chords = std::max(1, static_cast<int>(std::ceil(drawn / clampChordAngle(chordAngle) - 1e-9)));
    // Each point is the one before turned by the chord's angle, which costs a fraction of a sine
    // and a cosine; every few chords the point is worked out afresh, so rounding cannot build up.
    const double step = direction * drawn * degree / chords;
    const double stepCos = std::cos(step);
    const double stepSin = std::sin(step);
    out.reserve(out.size() + std::size_t(chords));
    double dx = 0;
    double dy = 0;
    for (int i = 1; i <= chords; ++i) {
        if (i % exactEvery == 1) {
            const double angle = startAngle + direction * drawn * degree * i / chords;
            dx = radius * std::cos(angle);
            dy = radius * std::sin(angle);
        } else {
            const double turned = dx * stepCos - dy * stepSin;
            dy = dx * stepSin + dy * stepCos;
            dx = turned;
        }
        out.push_back({ centre.x + dx, centre.y + dy });
    }
    if (std::fmod(drawn, 360.0) == 0)
        out.back() = start; // a closed circle ends exactly where it began
}

std::optional<CurveTessellator::ArcThroughPoints> CurveTessellator::arcThrough(
    Point start, Point middle, Point end)
{
    const double ax = middle.x - start.x;
    const double ay = middle.y - start.y;
    const double bx = end.x - start.x;
    const double by = end.y - start.y;
    const double cross = ax * by - ay * bx;
    const double scale = std::max({ std::abs(ax), std::abs(ay), std::abs(bx), std::abs(by) });
    if (!(std::abs(cross) > 1e-12 * scale * scale))
        return std::nullopt;
    const double a2 = ax * ax + ay * ay;
    const double b2 = bx * bx + by * by;
    const Point centre { start.x + (by * a2 - ay * b2) / (2 * cross),
        start.y + (ax * b2 - bx * a2) / (2 * cross) };
    const double startAngle = std::atan2(start.y - centre.y, start.x - centre.x);
    const double endAngle = std::atan2(end.y - centre.y, end.x - centre.x);
    double sweep = (endAngle - startAngle) / degree;
    // Counter-clockwise when the middle point lies to the left of start -> end.
    if (cross > 0) {
        while (sweep <= 0)
            sweep += 360;
    } else {
        while (sweep >= 0)
            sweep -= 360;
    }
    return ArcThroughPoints { centre, sweep };
}

void CurveTessellator::appendBezier(Point p0, Point p1, Point p2, Point p3, std::vector<Point> &out)
{
    const double hull = distance(p0, p1) + distance(p1, p2) + distance(p2, p3);
    if (!std::isfinite(hull))
        return;
    // About one chord per 0.5 mm of control polygon, between 8 and 256.
    const int chords = static_cast<int>(std::clamp(hull / 20, 8.0, 256.0));
    for (int i = 1; i <= chords; ++i) {
        const double t = static_cast<double>(i) / chords;
        const double u = 1 - t;
        const double w0 = u * u * u;
        const double w1 = 3 * u * u * t;
        const double w2 = 3 * u * t * t;
        const double w3 = t * t * t;
        out.push_back(
            { w0 * p0.x + w1 * p1.x + w2 * p2.x + w3 * p3.x, w0 * p0.y + w1 * p1.y + w2 * p2.y + w3 * p3.y });
    }
}

} // namespace plotviewer::hpgl
