#pragma once

#include <QByteArray>
#include <QString>

namespace plotviewer {

/// Bounds for a process that reads files nobody checked (print jobs from other machines,
/// thumbnails of downloads): far above what any real plot needs, low enough to protect the machine.
struct ProcessLimits
{
    static constexpr long long MemoryBytes = 1LL << 30; // address space
    static constexpr unsigned TimeSeconds = 30; // wall-clock time

    /// Caps the address space, so that allocations beyond it fail (and are reported as
    /// memoryMessage() says), and ends the process after the time limit with `timeoutLine` on
    /// standard error and exit status `timeoutExit`. False when the system refused a limit.
    static bool apply(const QByteArray &timeoutLine, int timeoutExit);
    /// Caps the address space alone, for a process whose work may rightly take long (a print run)
    /// and is ended by its caller instead. False when the system refused.
    static bool capAddressSpace();

    /// Why work that ran out of memory under the cap stopped.
    static QString memoryMessage();
    /// The end of the line written when the time runs out.
    static QString timeoutReason();
};

} // namespace plotviewer
