#pragma once

#include "ColourMode.h"
#include "PageTransform.h"
#include "StrokeFont.h"

namespace plotviewer {

struct RenderOptions
{
    ColourMode colourMode = ColourMode::Colour;
    Placement placement = Placement::Fit;
    /// The font for labels; null draws them in an outline font.
    const StrokeFont *strokeFont = StrokeFont::systemDefault();
};

} // namespace plotviewer
