#pragma once

#include "contract/PlotViewerContract.h"

#include <functional>

class AutomationObject;
class PrintList;

namespace PrintRun {

/// Prints every entry of the print list in order: Open, SetColorMode, ActualSize when
/// `actualSize` says so (asked afresh for each entry), DoPrint, then the document is released.
/// The first failure stops the run and throws; documents are released either way.
void printAll(const PrintList &printList, const AutomationObject &server, PlotViewer::ColourMode colourMode,
    const std::function<bool()> &actualSize);

} // namespace PrintRun
