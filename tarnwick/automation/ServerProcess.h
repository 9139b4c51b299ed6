#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>

class QDBusServer;

/// An automation server in a process of its own, started for this program alone and spoken to over
/// a private D-Bus connection that only this user can open. It ends when the last reference to it
/// goes, when this program ends, and when this program is killed.
class ServerProcess : public QObject
{
    Q_OBJECT
public:
    /// Starts `program` for the ProgID `progId` and waits until it has connected. Throws
    /// AutomationError when it cannot be started or does not connect.
    static std::shared_ptr<ServerProcess> start(const QString &progId, const QString &program);
    ~ServerProcess() override;

    QDBusConnection connection() const { return m_connection; }
    /// Whether the process still runs and its connection holds.
    bool isRunning() const;
    /// Why the server is gone, worded to follow "the server"; empty while it runs.
    QString endReason();
    /// Asks the server to end the work it is doing: a server that has not ended after a moment is
    /// ended by force. Either way its calls then fail.
    void interrupt();

Q_SIGNALS:
    /// The process ended or its connection broke.
    void ended();

private Q_SLOTS:
    void noteReady();

private:
    explicit ServerProcess(QString progId);
    void launch(const QString &program);
    void accept(const QDBusConnection &connection);
    void noteEnd(const QString &reason);

    QString m_progId;
    QTemporaryDir m_folder; // the bus socket and the server's own temporary files
    QDBusServer *m_listener = nullptr;
    QDBusConnection m_connection { QString() };
    QProcess m_process;
    QString m_endReason;
    bool m_ready = false;
    bool m_interrupted = false;
};
