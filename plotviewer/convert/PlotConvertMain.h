#pragma once

#include "ConvertExit.h"
#include "FileConversion.h"

#include <QStringList>

#include <functional>

class QTextStream;

namespace plotviewer {

/// What the converter needs from the process it runs in.
struct ConvertEnvironment
{
    FontSupport fonts;
    /// Bounds time and memory before a single plot is read: the command is what file managers run
    /// on every plot they show.
    std::function<void()> limitResources;
};

/// Runs the converter for `arguments` (the program name first). Help and a batch's report go to
/// `out`, every other problem to `err`; the result is a ConvertExit value.
int plotConvertMain(
    const QStringList &arguments, QTextStream &out, QTextStream &err, const ConvertEnvironment &environment);

} // namespace plotviewer
