#include "GlyphFrame.h"

namespace plotviewer {

GlyphFrame GlyphFrame::forCharacter(const TextRun &run, std::size_t index)
{
    const double i = double(index);
    return { { run.origin.x + i * run.advance.x, run.origin.y + i * run.advance.y }, run.across, run.up };
}

} // namespace plotviewer
