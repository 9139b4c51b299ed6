#pragma once

#include "ColourMode.h"
#include "PageTransform.h"
#include "StrokeFont.h"

#include <QColor>

#include <functional>

namespace plotviewer {

struct RenderOptions
{
    ColourMode colourMode = ColourMode::Colour;
    Placement placement = Placement::Fit;
    /// Gives the font for labels, or null to draw them in an outline font. Asked only when a page
    /// has labels: reading the stroke font costs more than drawing a small plot.
    const StrokeFont *(*strokeFont)() = StrokeFont::systemDefault;
    /// Told before each run of marks of one pen is painted, with the pen's number (0 for marks of
    /// no pen: raster images, PCL rectangles) and its colour as drawn; whatever came before has
    /// reached the painter by then. Outputs that group marks by pen (SVG layers) listen.
    std::function<void(int pen, const QColor &colour)> penStarting;
};

} // namespace plotviewer
