#include "ClientScheduler.h"

#include "CupsEndToEnd.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace plotviewer::test {

namespace {

constexpr int startTimeoutMs = 15000;
constexpr int stopTimeoutMs = 10000;
constexpr int pollMs = 100;
constexpr int logLines = 10;
// Where the system's scheduler listens, as its own configuration on Debian says.
const QString systemScheduler = QStringLiteral("localhost:631");

/// A port on the loopback address that nothing listens on at the moment; 0 when there is none.
int freePort()
{
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    if (socket < 0)
        return 0;
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(socket, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
        && ::getsockname(socket, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(socket);
    return port;
}

bool writeText(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Text) && file.write(text.toUtf8()) >= 0;
}

} // namespace

QString ClientScheduler::server() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
}

QString ClientScheduler::writeConfiguration(const QString &serverQueue, int port)
{
    const QString root = m_folder.path();
    // The backend runs as the scheduler's own user and must reach the spooled files below.
    QFile::setPermissions(root,
        QFile::permissions(root) | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    for (const char *folder : { "spool", "cache", "state", "log" }) {
        if (!QDir(root).mkpath(QLatin1String(folder)))
            return QStringLiteral("cannot make %1 in %2").arg(QLatin1String(folder), root);
    }

    const QString files = QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\nTempDir %1/spool\n"
                                         "CacheDir %1/cache\nStateDir %1/state\n"
                                         "ServerBin /usr/lib/cups\nErrorLog %1/log/error_log\n"
                                         "AccessLog %1/log/access_log\nPageLog %1/log/page_log\n")
                              .arg(root);
    // Only this machine may use it, and needs no password to.
    const QString scheduler
        = QStringLiteral("LogLevel info\nListen 127.0.0.1:%1\nBrowsing No\n"
                         "WebInterface No\nDefaultAuthType None\n"
                         "<Location />\n  Order allow,deny\n  Allow 127.0.0.1\n</Location>\n"
                         "<Policy default>\n  <Limit All>\n    Order allow,deny\n"
                         "    Allow 127.0.0.1\n  </Limit>\n</Policy>\n")
              .arg(port);
    // A raw queue would ask for grey, having no driver to say the printer has colour.
    const QString printers = QStringLiteral("<DefaultPrinter %1>\nDeviceURI ipp://%2/printers/%3\n"
                                            "State Idle\nAccepting Yes\nShared No\n"
                                            "Option print-color-mode color\n</DefaultPrinter>\n")
                                 .arg(queue(), systemScheduler, serverQueue);
    if (!writeText(root + QStringLiteral("/cups-files.conf"), files)
        || !writeText(root + QStringLiteral("/cupsd.conf"), scheduler)
        || !writeText(root + QStringLiteral("/printers.conf"), printers))
        return QStringLiteral("cannot write the configuration into %1").arg(root);
    return {};
}

QString ClientScheduler::start(const QString &serverQueue)
{
    if (::geteuid() != 0)
        return QStringLiteral("the print-server test starts a second CUPS scheduler, which needs root");
    const QString cupsd
        = QStandardPaths::findExecutable(QStringLiteral("cupsd"), { QStringLiteral("/usr/sbin") });
    if (cupsd.isEmpty())
        return QStringLiteral("cupsd is not installed (Debian package cups)");
    // Another system's scheduler may answer on the port where this one's does not listen: it must
    // show the same queue, as the print server would.
    const std::optional<QString> queueThere
        = lpstat({ QStringLiteral("-h"), systemScheduler, QStringLiteral("-v"), serverQueue });
    if (!queueThere || queueThere != lpstat({ QStringLiteral("-v"), serverQueue }))
        return QStringLiteral("the CUPS scheduler at %1 is not this system's, or has no queue %2")
            .arg(systemScheduler, serverQueue);
    if (!m_folder.isValid())
        return QStringLiteral("no temporary folder for the second scheduler");
    m_port = freePort();
    if (m_port == 0)
        return QStringLiteral("no free port on the loopback address");
    if (const QString problem = writeConfiguration(serverQueue, m_port); !problem.isEmpty())
        return problem;

    m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
    m_cupsd.setStandardOutputFile(m_folder.filePath(QStringLiteral("log/output")));
    m_cupsd.start(cupsd,
        { QStringLiteral("-f"), QStringLiteral("-c"), m_folder.filePath(QStringLiteral("cupsd.conf")),
            QStringLiteral("-s"), m_folder.filePath(QStringLiteral("cups-files.conf")) });
    if (!m_cupsd.waitForStarted())
        return QStringLiteral("%1 could not be started: %2").arg(cupsd, m_cupsd.errorString());
    const QDeadlineTimer deadline(startTimeoutMs);
    while (lpstat({ QStringLiteral("-h"), server(), QStringLiteral("-r") })
        != QLatin1String("scheduler is running")) {
        // Waiting for it to end doubles as the pause between looks.
        if (m_cupsd.waitForFinished(pollMs))
            return QStringLiteral("the second scheduler ended at once:\n") + logTail();
        if (deadline.hasExpired()) {
            stop();
            return QStringLiteral("the second scheduler did not answer within %1 s:\n")
                       .arg(startTimeoutMs / 1000)
                + logTail();
        }
    }
    return {};
}

void ClientScheduler::stop()
{
    if (m_cupsd.state() == QProcess::NotRunning)
        return;
    m_cupsd.terminate();
    if (!m_cupsd.waitForFinished(stopTimeoutMs)) {
        m_cupsd.kill();
        m_cupsd.waitForFinished(stopTimeoutMs);
    }
}

std::optional<QStringList> ClientScheduler::pendingJobs() const
{
    return jobIds(lpstat({ QStringLiteral("-h"), server(), QStringLiteral("-o"), queue() }));
}

QString ClientScheduler::logTail() const
{
    QString text;
    for (const char *name : { "log/output", "log/error_log" }) {
        QFile log(m_folder.filePath(QLatin1String(name)));
        if (log.open(QIODevice::ReadOnly))
            text += QString::fromLocal8Bit(log.readAll());
    }
    const QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
    return lines.mid(std::max<qsizetype>(0, lines.size() - logLines)).join(u'\n');
}

} // namespace plotviewer::test
