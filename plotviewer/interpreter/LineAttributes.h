#pragma once
// How lines, ticks and curves are drawn (LA, SV, TL, CT), with their defaults; DF and IN restore
// them by assigning a default-constructed object.

#include "plotviewer/model/DisplayList.h"

#include <vector>

namespace plotviewer::hpgl {

struct LineAttributes
{
    LineCap cap = LineCap::Butt;
    LineJoin join = LineJoin::Miter;
    double miterLimit = StrokeStyle {}.miterLimit;
    double screenLevel = -1; // SV shading of lines in percent, -1 = off
    bool chordDeviation = false; // CT1: chord angles of arcs are deviations, not angles
    double tickPositive = 0.5; // TL, percent of the P1-P2 distance
    double tickNegative = 0.5;

    /// LA: kind/value pairs; none restores cap, join and miter limit.
    void setLineAttributes(const std::vector<double> &n);
    /// SV: type 1 shades lines to the given level (50 % when none), anything else turns it off.
    void setScreen(const std::vector<double> &n);
    /// TL: tick lengths; none restores both, one sets the negative tick to 0.
    void setTickLength(const std::vector<double> &n);
    /// CT
    void setChordTolerance(const std::vector<double> &n);

    /// The look of a line drawn by `pen` in `colour`, `width` wide.
    StrokeStyle strokeStyle(int pen, Rgb colour, double width) const;
};

} // namespace plotviewer::hpgl
