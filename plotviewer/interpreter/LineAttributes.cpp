#include "LineAttributes.h"

#include "InstructionArguments.h"

#include <algorithm>
#include <cmath>

namespace plotviewer::hpgl {

void LineAttributes::setLineAttributes(const std::vector<double> &n)
{
    if (n.empty()) {
        const LineAttributes defaults;
        cap = defaults.cap;
        join = defaults.join;
        miterLimit = defaults.miterLimit;
    }
    for (std::size_t i = 0; i + 1 < n.size(); i += 2) {
        const double kind = std::round(n[i]);
        const double value = std::round(n[i + 1]);
        if (kind == 1)
            cap = value == 2 ? LineCap::Square : value == 3 || value == 4 ? LineCap::Round : LineCap::Butt;
        else if (kind == 2)
            join = value == 4              ? LineJoin::Round
                : value >= 3 && value <= 6 ? LineJoin::Bevel
                                           : LineJoin::Miter;
        else if (kind == 3 && std::isfinite(n[i + 1]))
            miterLimit = std::clamp(n[i + 1], 1.0, 32767.0);
    }
}

void LineAttributes::setScreen(const std::vector<double> &n)
{
    screenLevel = argument(n, 0, 0) == 1 ? argument(n, 1, 50) : -1;
}

void LineAttributes::setTickLength(const std::vector<double> &n)
{
    const LineAttributes defaults;
    tickPositive = argument(n, 0, defaults.tickPositive);
    tickNegative = argument(n, 1, n.empty() ? defaults.tickNegative : 0);
}

void LineAttributes::setChordTolerance(const std::vector<double> &n)
{
    chordDeviation = argument(n, 0, 0) == 1;
}

StrokeStyle LineAttributes::strokeStyle(int pen, Rgb colour, double width) const
{
    StrokeStyle style;
    style.pen = pen;
    style.colour = colour;
    if (screenLevel >= 0)
        style.tint = std::clamp(screenLevel, 0.0, 100.0);
    style.width = width;
    style.cap = cap;
    style.join = join;
    style.miterLimit = miterLimit;
    return style;
}

} // namespace plotviewer::hpgl
