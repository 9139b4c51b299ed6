#pragma once

#include "contract/PlotViewerContract.h"

#include <QStringList>

class AutomationObject;

namespace PrintRun {

/// Prints every plot of `paths` in order: Open, SetColorMode, ActualSize when `actualSize` is set,
/// DoPrint, then the document is released. The first failure stops the run and throws
/// AutomationError; documents are released either way.
void printAll(const AutomationObject &server, const QStringList &paths, PlotViewer::ColourMode colourMode,
    bool actualSize);

} // namespace PrintRun
