#include "ProcessMemory.h"

#include <QFile>

#include <malloc.h>

long statusKilobytes(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    // Files in /proc report no size, so read them whole rather than line by line to an end.
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

bool restartPeakCount()
{
    malloc_trim(0);
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

long peakGrowthKilobytes(const std::function<void()> &work)
{
    if (!restartPeakCount())
        return -1;
    const long before = statusKilobytes("VmRSS:");
    work();
    return statusKilobytes("VmHWM:") - before;
}
