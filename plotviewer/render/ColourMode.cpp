#include "ColourMode.h"

#include "plotviewer/model/Tint.h"

#include <cmath>

namespace plotviewer {

std::optional<ColourMode> colourModeFromNumber(int number)
{
    switch (number) {
    case int(ColourMode::BlackAndWhite):
    case int(ColourMode::Colour):
    case int(ColourMode::GreyScale):
        return ColourMode(number);
    default:
        return std::nullopt;
    }
}

QColor deviceColour(Rgb colour, double tint, ColourMode mode)
{
    constexpr Rgb white { 255, 255, 255 };
    // Black and white tints the black it maps a pen to, so shading stays a lighter black. Tinting
    // commutes with the luminance; doing it first keeps the grey scale's rounding as it was.
    const Rgb ink = mode == ColourMode::BlackAndWhite && colour != white ? Rgb {} : colour;
    const Rgb shade = tinted(ink, tint);
    if (mode == ColourMode::GreyScale) {
        const int level = int(std::lround(0.299 * shade.r + 0.587 * shade.g + 0.114 * shade.b));
        return QColor(level, level, level);
    }
    return QColor(shade.r, shade.g, shade.b);
}

} // namespace plotviewer
