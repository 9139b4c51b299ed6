#include "GlyphFrame.h"

#include <cmath>

namespace plotviewer {

GlyphFrame GlyphFrame::forCharacter(const TextRun &run, std::size_t index)
{
    const double i = double(index);
    const Point origin { run.origin.x + i * run.advance.x, run.origin.y + i * run.advance.y };
    // Glyphs stand upright on their baseline whichever way the label runs: along the advance when
    // it reads to the glyph's right (slanted glyphs keep their baseline there), otherwise (labels
    // running right to left, up or down) square to the up direction, clockwise.
    const Point right { run.up.y, -run.up.x };
    const bool readsRight = run.advance.x * right.x + run.advance.y * right.y > 0;
    const Point direction = readsRight ? run.advance : right;
    const double length = std::hypot(direction.x, direction.y);
    if (!(length > 0))
        return { origin, { run.width, 0 }, run.up };
    return { origin, { direction.x / length * run.width, direction.y / length * run.width }, run.up };
}

} // namespace plotviewer
