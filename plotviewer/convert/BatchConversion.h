#pragma once

#include "ConvertExit.h"
#include "ConvertOptions.h"
#include "FileConversion.h"

class QTextStream;

namespace plotviewer {

/// Converts every input into the options' output folder, as many at once as `options.jobs`, each
/// to a file named after its plot. Writes one line per plot to `out` as it ends (done or why
/// not) and a summary at the end, problems with the folder to `err`; one bad plot does not stop the others.
/// Returns Success when every plot was converted, else the status of the first plot, in the order given, that
/// failed.
ConvertExit convertBatch(
    const ConvertOptions &options, const FontSupport &fonts, QTextStream &out, QTextStream &err);

} // namespace plotviewer
