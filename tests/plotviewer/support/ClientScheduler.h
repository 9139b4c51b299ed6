#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

namespace plotviewer::test {

/// A second CUPS scheduler, started by a test, in the part of a user's machine that prints through
/// a print server: its own folders and a free port on localhost, and one raw queue that sends each
/// job unchanged over IPP to a queue of the system's scheduler, where the filters run. It types
/// files with the system's rules, the plot types among them, as a machine with the package does.
/// Only this scheduler is ever signalled, by its process id; it stops when the object goes.
class ClientScheduler
{
public:
    ~ClientScheduler() { stop(); }

    /// Starts the scheduler with its queue sending to `serverQueue` at localhost:631. Empty once it
    /// answers; otherwise why it cannot run here.
    QString start(const QString &serverQueue);
    /// Asks it to end (SIGTERM), and kills it if it does not within a few seconds.
    void stop();

    /// "host:port", as lp's -h takes it.
    QString server() const;
    QString queue() const { return QStringLiteral("Tarnwick_Client"); }
    /// The jobs still waiting or sending; nullopt when the scheduler does not answer.
    std::optional<QStringList> pendingJobs() const;
    /// The last lines of its error log, to explain a failure.
    QString logTail() const;

private:
    QString writeConfiguration(const QString &serverQueue, int port);

    QTemporaryDir m_folder;
    QProcess m_cupsd;
    int m_port = 0;
};

} // namespace plotviewer::test
