#include "ColourMode.h"

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

QColor deviceColour(Rgb colour, ColourMode mode)
{
    switch (mode) {
    case ColourMode::BlackAndWhite:
        return colour == Rgb { 255, 255, 255 } ? QColor(Qt::white) : QColor(Qt::black);
    case ColourMode::GreyScale: {
        const int level = int(std::lround(0.299 * colour.r + 0.587 * colour.g + 0.114 * colour.b));
        return QColor(level, level, level);
    }
    case ColourMode::Colour:
        break;
    }
    return QColor(colour.r, colour.g, colour.b);
}

} // namespace plotviewer
