#include "GlyphFrame.h"

#include <cmath>

namespace plotviewer {

GlyphFrame GlyphFrame::forCharacter(const TextRun &run, std::size_t index)
{
    const double i = double(index);
    const Point origin { run.origin.x + i * run.advance.x, run.origin.y + i * run.advance.y };
    double ax = run.advance.x;
    double ay = run.advance.y;
    double length = std::hypot(ax, ay);
    // Labels stacked along their up direction (or with no advance) still read across, at a right
    // angle clockwise from up.
    const double cross = ax * run.up.y - ay * run.up.x;
    if (length == 0 || std::abs(cross) < 1e-9 * length * std::hypot(run.up.x, run.up.y)) {
        ax = run.up.y;
        ay = -run.up.x;
        length = std::hypot(ax, ay);
    }
    if (length == 0)
        return { origin, { run.width, 0 }, run.up };
    return { origin, { ax / length * run.width, ay / length * run.width }, run.up };
}

} // namespace plotviewer
