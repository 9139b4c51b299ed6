#pragma once
// How drawing colours reach the device: as they are, as grey levels, or as black on white.

#include "plotviewer/model/DisplayList.h"

#include <QColor>

namespace plotviewer {

/// The renderer's own modes; the faces map what their callers say onto them.
enum class ColourMode { Colour, GreyScale, BlackAndWhite };

/// The colour a mark of `colour` at `tint` percent (see Tint.h) gets in `mode`. Black and white
/// keeps white marks white and turns every other colour black, then tints it, so shading stays a
/// light grey; grey scale keeps the luminance of the tinted colour.
QColor deviceColour(Rgb colour, double tint, ColourMode mode);
/// The colour of a raster pixel of `colour` in `mode`, by the same rules, with no tint.
QRgb deviceRgb(Rgb colour, ColourMode mode);

} // namespace plotviewer
