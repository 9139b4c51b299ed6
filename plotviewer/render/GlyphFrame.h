#pragma once

#include "plotviewer/model/DisplayList.h"

#include <cstddef>

namespace plotviewer {

/// Where one character of a label sits on the plot: glyph coordinates (x in body widths from the
/// body's left edge, y in cap heights above the baseline) mapped to plot units. The length of the
/// run's `up` vector is the cap height; mirrored glyphs come from a reversed `across` or `up`.
struct GlyphFrame
{
    Point origin;
    Point across; // one glyph body width along the line
    Point up; // one cap height

    static GlyphFrame forCharacter(const TextRun &run, std::size_t index);

    Point map(Point glyph) const
    {
        return { origin.x + glyph.x * across.x + glyph.y * up.x,
            origin.y + glyph.x * across.y + glyph.y * up.y };
    }
};

} // namespace plotviewer
