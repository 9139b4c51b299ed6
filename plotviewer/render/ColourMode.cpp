#include "ColourMode.h"

#include "plotviewer/model/Tint.h"

#include <cmath>

namespace plotviewer {

namespace { } // namespace

QRgb deviceRgb(Rgb colour, ColourMode mode)
{
    switch (mode) {
    case ColourMode::BlackAndWhite:
        return colour == white ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    case ColourMode::GreyScale: {
        const int level = int(std::lround(0.299 * colour.r + 0.587 * colour.g + 0.114 * colour.b));
        return qRgb(level, level, level);
    }
    case ColourMode::Colour:
        break;
    }
    return qRgb(colour.r, colour.g, colour.b);
}

QColor deviceColour(Rgb colour, double tint, ColourMode mode)
{
    // Black and white tints the black it maps a pen to, so shading stays a lighter black. Tinting
    // commutes with the luminance; doing it first keeps the grey scale's rounding as it was.
    if (mode == ColourMode::BlackAndWhite) {
        const Rgb shade = tinted(colour == white ? white : Rgb {}, tint);
        return QColor(shade.r, shade.g, shade.b);
    }
    return QColor(deviceRgb(tinted(colour, tint), mode));
}

} // namespace plotviewer
