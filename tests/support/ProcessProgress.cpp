#include "ProcessProgress.h"

#include <QFile>

namespace {

struct ProcessStat
{
    char state = '?';
    long long cpuTicks = 0; // user and system time
};

// /proc/PID/stat: the state follows the parenthesised name, which may itself hold spaces and
// parentheses; user and system time are the 12th and 13th fields after the state.
bool readStat(qint64 pid, ProcessStat &stat)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = file.readAll();
    const qsizetype nameEnd = text.lastIndexOf(')');
    if (nameEnd < 0)
        return false;
    const QList<QByteArray> fields = text.mid(nameEnd + 2).split(' ');
    if (fields.size() < 13 || fields[0].isEmpty())
        return false;
    stat.state = fields[0][0];
    stat.cpuTicks = fields[11].toLongLong() + fields[12].toLongLong();
    return true;
}

} // namespace

ProcessProgress::ProcessProgress(const QProcess &process, int idleLimitMs)
    : m_process(process)
    , m_idleLimitMs(idleLimitMs)
{ }

QString ProcessProgress::stuckReason()
{
    if (m_process.state() == QProcess::NotRunning)
        return QStringLiteral("the program has ended");
    ProcessStat stat;
    if (!readStat(m_process.processId(), stat))
        return {};
    if (stat.state == 'Z' || stat.state == 'X')
        return QStringLiteral("the program has ended");
    if (stat.state == 'T' || stat.state == 't')
        return QStringLiteral("the program was stopped");
    if (stat.state == 'R' || stat.cpuTicks != m_cpuTicks) {
        m_cpuTicks = stat.cpuTicks;
        m_idle.restart();
        return {};
    }
    if (m_idle.isValid() && m_idle.elapsed() > m_idleLimitMs)
        return QStringLiteral(
            "the program has stopped answering: blocked for %1 s without using the processor")
            .arg(m_idleLimitMs / 1000);
    return {};
}
