#pragma once

#include "ColourMode.h"
#include "PageTransform.h"
#include "StrokeFont.h"

namespace plotviewer {

struct RenderOptions
{
    ColourMode colourMode = ColourMode::Colour;
    Placement placement = Placement::Fit;
    /// Gives the font for labels, or null to draw them in an outline font. Asked only when a page
    /// has labels: reading the stroke font costs more than drawing a small plot.
    const StrokeFont *(*strokeFont)() = StrokeFont::systemDefault;
};

} // namespace plotviewer
