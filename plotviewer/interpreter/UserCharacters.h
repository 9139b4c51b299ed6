#pragma once
// Characters the plot draws itself: DL's downloadable characters, kept until cleared and drawn
// wherever a label uses the downloadable set, and UC's one-off character drawn at the pen. Both are
// strokes in a grid laid over the glyph body, so they follow the label's size, direction, slant and
// mirroring as the built-in glyphs do.

#include "plotviewer/model/DisplayList.h"

#include <functional>
#include <string>
#include <vector>

namespace plotviewer::hpgl {

class UserCharacters
{
public:
    using Strokes = std::vector<std::vector<Point>>;
    using TextSink = std::function<void(const TextRun &)>;
    using StrokeSink = std::function<void(const std::vector<Point> &)>;

    /// DL: defines or replaces one character; its number alone clears it, no arguments clear all.
    /// Returns a warning for a definition it ignores; empty otherwise.
    std::string define(const std::vector<double> &n);

    /// Passes the runs of `run`'s ordinary characters to `text` and the strokes of its downloaded
    /// ones to `stroke`. A downloaded character with no definition is drawn as its ASCII glyph.
    void draw(const TextRun &run, const TextSink &text, const StrokeSink &stroke) const;

    /// UC: the strokes of a one-off character whose body spans `across` and `up` from `origin`, or
    /// a warning (and no strokes) for data it ignores.
    static std::string oneOff(
        const std::vector<double> &n, Point origin, Point across, Point up, Strokes &strokes);

private:
    // By number, in DL grid units; none until the first DL, as most plots define no characters.
    std::vector<Strokes> m_glyphs;
    std::size_t m_pointCount = 0; // over all glyphs, bounded by a budget
};

} // namespace plotviewer::hpgl
