#pragma once
// Lightening a colour towards white paper: shading, screened lines and raster-pattern tints. Shared
// by the interpreter, which needs it to tell invisible marks, and the renderer, which applies it.

#include "plotviewer/model/DisplayList.h"

#include <algorithm>
#include <cmath>

namespace plotviewer {

/// `colour` at `tint` percent of its strength: white + (colour - white) * tint / 100. A tint that
/// is not a number is full strength.
inline Rgb tinted(Rgb colour, double tint)
{
    const double keep = std::isfinite(tint) ? std::clamp(tint, 0.0, 100.0) / 100 : 1;
    auto mix
        = [keep](std::uint8_t c) { return static_cast<std::uint8_t>(std::lround(255 - (255 - c) * keep)); };
    return { mix(colour.r), mix(colour.g), mix(colour.b) };
}

} // namespace plotviewer
