#include "ProcessLimits.h"

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

namespace plotviewer {

namespace {

// Only async-signal-safe calls may touch these once the alarm can fire.
char g_timeoutLine[512];
std::size_t g_timeoutLength = 0;
int g_timeoutExit = 1;

extern "C" void endOnTimeout(int)
{
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, g_timeoutLine, g_timeoutLength);
    ::_exit(g_timeoutExit);
}

} // namespace

bool ProcessLimits::apply(const QByteArray &timeoutLine, int timeoutExit)
{
    g_timeoutLength = std::min(std::size_t(timeoutLine.size()), sizeof g_timeoutLine);
    std::memcpy(g_timeoutLine, timeoutLine.constData(), g_timeoutLength);
    g_timeoutExit = timeoutExit;

    bool limited = capAddressSpace();
    struct sigaction action
    {
    };
    action.sa_handler = endOnTimeout;
    sigemptyset(&action.sa_mask);
    limited = ::sigaction(SIGALRM, &action, nullptr) == 0 && limited;
    ::alarm(TimeSeconds);
    return limited;
}

bool ProcessLimits::capAddressSpace()
{
    rlimit memory {};
    if (::getrlimit(RLIMIT_AS, &memory) != 0)
        return false;
    if (memory.rlim_cur != RLIM_INFINITY && memory.rlim_cur <= rlim_t(MemoryBytes))
        return true;
    memory.rlim_cur = rlim_t(MemoryBytes);
    return ::setrlimit(RLIMIT_AS, &memory) == 0;
}

QString ProcessLimits::memoryMessage()
{
    return QStringLiteral("drawing the plot needs more than the %1 MB of memory allowed")
        .arg(MemoryBytes >> 20);
}

QString ProcessLimits::timeoutReason()
{
    return QStringLiteral("drawing the plot took longer than the %1 seconds allowed").arg(TimeSeconds);
}

} // namespace plotviewer
