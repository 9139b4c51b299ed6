#pragma once
// How drawing colours reach the device: as they are, as grey levels, or as black on white.

#include "plotviewer/model/DisplayList.h"

#include <QColor>

#include <optional>

namespace plotviewer {

enum class ColourMode : short { BlackAndWhite = 0, Colour = 1, GreyScale = 2 };

/// The mode for a number given by a caller (0, 1 or 2); nullopt for anything else.
std::optional<ColourMode> colourModeFromNumber(int number);

/// The colour a mark of `colour` gets in `mode`. Black and white keeps white marks white and turns
/// every other colour black; grey scale keeps the luminance.
QColor deviceColour(Rgb colour, ColourMode mode);

} // namespace plotviewer
