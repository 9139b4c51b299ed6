#pragma once
// How drawing colours reach the device: as they are, as grey levels, or as black on white. The
// mode itself is the one the program sets through SetColorMode.

#include "contract/PlotViewerContract.h"
#include "plotviewer/model/DisplayList.h"

#include <QColor>

#include <optional>

namespace plotviewer {

using PlotViewer::ColourMode;

/// The mode for a number given by a caller (0, 1 or 2); nullopt for anything else.
std::optional<ColourMode> colourModeFromNumber(int number);

/// The colour a mark of `colour` at `tint` percent (see Tint.h) gets in `mode`. Black and white
/// keeps white marks white and turns every other colour black, then tints it, so shading stays a
/// light grey; grey scale keeps the luminance of the tinted colour.
QColor deviceColour(Rgb colour, double tint, ColourMode mode);

} // namespace plotviewer
