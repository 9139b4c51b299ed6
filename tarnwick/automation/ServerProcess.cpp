#include "tarnwick/automation/ServerProcess.h"

#include "tarnwick/automation/AutomationError.h"
#include "tarnwick/base/EventLoopWait.h"

#include "contract/PlotServerBus.h"

#include <QCoreApplication>
#include <QDBusError>
#include <QDBusServer>
#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

// A server that has not connected by then is not coming: it is ended and reported.
constexpr int StartTimeoutMs = 30'000;
// How long a server asked to stop may take before it is ended by force.
constexpr int StopGraceMs = 500;
// How long a server whose connection broke may take to end before that alone is its reason.
constexpr int EndNoticeMs = 1000;

/// Where the bus socket goes: the user's runtime folder where there is one, else the temporary one.
QString socketBase()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QFileInfo folder(runtime);
    return !runtime.isEmpty() && folder.isDir() && folder.isWritable() ? runtime : QDir::tempPath();
}

QString describeEnd(const QProcess &process, bool interrupted)
{
    if (interrupted)
        return QStringLiteral("was stopped");
    if (process.error() == QProcess::FailedToStart)
        return QStringLiteral("could not be run (%1)").arg(process.errorString());
    if (process.exitStatus() == QProcess::CrashExit)
        return QStringLiteral("ended unexpectedly (signal %1)").arg(process.exitCode());
    return QStringLiteral("ended (exit status %1)").arg(process.exitCode());
}

} // namespace

ServerProcess::ServerProcess(QString progId)
    : m_progId(std::move(progId))
    , m_folder(QDir(socketBase()).filePath(QStringLiteral("tarnwick-server-XXXXXX")))
{ }

std::shared_ptr<ServerProcess> ServerProcess::start(const QString &progId, const QString &program)
{
    std::shared_ptr<ServerProcess> server(new ServerProcess(progId));
    server->launch(program);
    return server;
}

ServerProcess::~ServerProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished();
    }
    if (m_connection.isConnected())
        QDBusConnection::disconnectFromPeer(m_connection.name());
}

void ServerProcess::launch(const QString &program)
{
    const auto fail = [this](const QString &reason) {
        throw AutomationError(
            QStringLiteral("The automation server \"%1\" could not be started: %2").arg(m_progId, reason));
    };
    // The server's end must follow this program's, which the kernel tells the thread that started it.
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    if (!m_folder.isValid())
        fail(QStringLiteral("no private folder for it: %1").arg(m_folder.errorString()));
    const QString temporary = QDir(m_folder.path()).filePath(QStringLiteral("tmp"));
    if (!QDir().mkdir(temporary))
        fail(QStringLiteral("no temporary folder for it in %1").arg(m_folder.path()));

    const QString address
        = QStringLiteral("unix:path=%1").arg(QDir(m_folder.path()).filePath(QStringLiteral("bus")));
    m_listener = new QDBusServer(address, this);
    if (!m_listener->isConnected())
        fail(QStringLiteral("no D-Bus address for it: %1").arg(m_listener->lastError().message()));
    connect(m_listener, &QDBusServer::newConnection, this, &ServerProcess::accept);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // What the server leaves behind (the files of a print it did not finish) goes with its folder.
    environment.insert(QStringLiteral("TMPDIR"), temporary);
    if (!environment.contains(QStringLiteral("XDG_RUNTIME_DIR"))) // Qt asks for one, and warns without
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_folder.path());
    m_process.setProcessEnvironment(environment);
    m_process.setProgram(program);
    m_process.setArguments({ QString::fromLatin1(PlotServerBus::PeerOption), address });
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel); // its warnings join ours
    m_process.setChildProcessModifier([parent = ::getpid()] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) // this program ended before the line above
            ::_exit(1);
    });
    connect(
        &m_process, &QProcess::finished, this, [this] { noteEnd(describeEnd(m_process, m_interrupted)); });
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            noteEnd(describeEnd(m_process, m_interrupted));
    });
    m_process.start();

    bool timedOut = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, this, [&timedOut] { timedOut = true; });
    deadline.start(StartTimeoutMs);
    EventLoopWait::until([&] { return m_ready || !m_endReason.isEmpty() || timedOut; });
    if (m_ready)
        return;
    if (m_endReason.isEmpty())
        fail(QStringLiteral("it did not answer within %1 seconds").arg(StartTimeoutMs / 1000));
    fail(QStringLiteral("it %1").arg(m_endReason));
}

void ServerProcess::accept(const QDBusConnection &connection)
{
    if (m_connection.isConnected() || !m_endReason.isEmpty()) {
        QDBusConnection::disconnectFromPeer(connection.name()); // one caller, one server
        return;
    }
    m_connection = connection;
    QFile::remove(QDir(m_folder.path()).filePath(QStringLiteral("bus"))); // nobody else can come now
    // Messages on a new connection wait until this returns, so the signal cannot pass unheard.
    m_connection.connect(QString(), QString::fromLatin1(PlotServerBus::ServerPath),
        QString::fromLatin1(PlotServerBus::ServerInterface), QString::fromLatin1(PlotServerBus::ReadySignal),
        this, SLOT(noteReady()));
}

void ServerProcess::noteReady()
{
    m_ready = true;
}

QString ServerProcess::endReason()
{
    if (!m_endReason.isEmpty() || isRunning())
        return m_endReason;
    if (m_interrupted)
        return QStringLiteral("was stopped");
    // The connection broke first: a process that is ending tells how in a moment.
    if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(EndNoticeMs))
        return QStringLiteral("closed its connection");
    return m_endReason;
}

bool ServerProcess::isRunning() const
{
    return m_endReason.isEmpty() && m_ready && m_connection.isConnected();
}

void ServerProcess::interrupt()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_interrupted = true;
    m_process.terminate();
    QTimer::singleShot(StopGraceMs, this, [this] {
        if (m_process.state() != QProcess::NotRunning)
            m_process.kill();
    });
}

void ServerProcess::noteEnd(const QString &reason)
{
    if (!m_endReason.isEmpty())
        return;
    m_endReason = reason;
    Q_EMIT ended();
}
