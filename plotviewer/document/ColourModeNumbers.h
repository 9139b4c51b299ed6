#pragma once

#include "plotviewer/render/ColourMode.h"

#include <optional>

namespace plotviewer {

/// The colour mode the program's number stands for (PlotViewer::ColourModeNumber: 0 black and
/// white, 1 colour, 2 grey scale); nullopt for a number it does not have. The one place that maps
/// those numbers, for every face that takes them.
std::optional<ColourMode> colourModeNumbered(int number);

} // namespace plotviewer
