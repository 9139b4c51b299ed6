#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QString>

/// Watches a started program for signs that it will get no further: it ended, it was stopped, or
/// it has sat blocked without using the processor for a while. A program the machine is too busy
/// to run is waiting to run, not blocked, and counts as making progress. The idle limit outlasts a
/// D-Bus call's own timeout (25 s), which a starting program may wait out.
class ProcessProgress
{
public:
    explicit ProcessProgress(const QProcess &process, int idleLimitMs = 30'000);

    /// Why the program will get no further; empty while it may still.
    QString stuckReason();

private:
    const QProcess &m_process;
    int m_idleLimitMs;
    long long m_cpuTicks = -1;
    QElapsedTimer m_idle;
};
