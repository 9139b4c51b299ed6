#pragma once

#include <QStringList>

class QTextStream;

namespace plotviewer {

/// Exit codes of plotconvert, following the BSD sysexits convention.
enum class ConvertExit : int {
    Success = 0,
    Usage = 64,
    NothingDrawable = 65,
    Unreadable = 66,
    Failed = 70, // an unexpected internal failure
    CannotWrite = 73,
};

/// Runs the converter for `arguments` (the program name first). Help goes to `out`, every
/// problem to `err`; the result is a ConvertExit value.
int plotConvertMain(const QStringList &arguments, QTextStream &out, QTextStream &err);

} // namespace plotviewer
