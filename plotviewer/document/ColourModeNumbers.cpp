#include "ColourModeNumbers.h"

#include "contract/PlotViewerContract.h"

namespace plotviewer {

std::optional<ColourMode> colourModeNumbered(int number)
{
    switch (PlotViewer::ColourModeNumber(number)) {
    case PlotViewer::ColourModeNumber::BlackAndWhite:
        return ColourMode::BlackAndWhite;
    case PlotViewer::ColourModeNumber::Colour:
        return ColourMode::Colour;
    case PlotViewer::ColourModeNumber::GreyScale:
        return ColourMode::GreyScale;
    }
    return std::nullopt;
}

} // namespace plotviewer
