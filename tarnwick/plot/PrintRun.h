#pragma once

#include "contract/PlotViewerContract.h"

#include <QStringList>
#include <functional>

class AutomationObject;

namespace PrintRun {

/// Told before each plot is printed: its 0-based `index` among `count` plots and its path. False
/// stops the run there, with nothing more tried.
using EntryStarting = std::function<bool(qsizetype index, qsizetype count, const QString &path)>;

/// Prints every plot of `paths` in order: Open, SetColorMode, ActualSize when `actualSize` is set,
/// DoPrint, then the document is released. The first failure stops the run and throws
/// AutomationError; documents are released either way. `entryStarting`, when given, is asked
/// before each plot whether to go on.
void printAll(const AutomationObject &server, const QStringList &paths,
    PlotViewer::ColourModeNumber colourMode, bool actualSize, const EntryStarting &entryStarting = {});

} // namespace PrintRun
