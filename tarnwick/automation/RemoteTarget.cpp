#include "tarnwick/automation/RemoteTarget.h"

#include "contract/PlotServerBus.h"
#include "tarnwick/automation/AutomationError.h"
#include "tarnwick/automation/AutomationObject.h"
#include "tarnwick/automation/ServerProcess.h"
#include "tarnwick/base/EventLoopWait.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QXmlStreamReader>

#include <limits>

namespace {

// D-Bus ends a call after 25 seconds by default; a print dialog or a long print takes longer.
constexpr int NoTimeout = std::numeric_limits<int>::max();

QSet<QString> methodNames(const QString &introspection)
{
    QSet<QString> names;
    QXmlStreamReader xml(introspection);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("method"))
            names.insert(xml.attributes().value(QLatin1String("name")).toString().toLower());
    }
    return names;
}

} // namespace

RemoteTarget::RemoteTarget(std::shared_ptr<ServerProcess> server, QString path, bool returned)
    : m_server(std::move(server))
    , m_path(std::move(path))
    , m_returned(returned)
{ }

RemoteTarget::~RemoteTarget()
{
    // The server drops the object too; its reply is of no interest.
    if (m_returned && m_server->isRunning())
        m_server->connection().asyncCall(methodCall(QString::fromLatin1(PlotServerBus::Release), {}));
}

bool RemoteTarget::hasMember(const QString &member)
{
    if (!m_members) {
        const QDBusMessage reply = waitFor(QDBusMessage::createMethodCall(QString(), m_path,
            QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect")));
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return false;
        m_members = methodNames(reply.arguments().constFirst().toString());
    }
    return m_members->contains(member.toLower());
}

QVariant RemoteTarget::call(const QString &member, const QVariantList &arguments)
{
    const AutomationResult result = resultOf(member, waitFor(methodCall(member, arguments)));
    if (result.failed())
        throw AutomationError(result.failure);
    return result.value;
}

void RemoteTarget::callLater(
    const QString &member, const QVariantList &arguments, QObject *context, Done done)
{
    const auto self = std::static_pointer_cast<RemoteTarget>(shared_from_this());
    auto *watcher = new QDBusPendingCallWatcher(
        m_server->connection().asyncCall(methodCall(member, arguments), NoTimeout), context);
    // Whichever comes first, the reply or the server's end, answers the call, and only once.
    const auto answered = std::make_shared<bool>(false);
    const auto answer = [self, member, watcher, done, answered](const QDBusMessage &reply) {
        if (std::exchange(*answered, true))
            return;
        watcher->deleteLater();
        done(self->resultOf(member, reply));
    };
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
        [answer, watcher] { answer(watcher->reply()); });
    QObject::connect(
        m_server.get(), &ServerProcess::ended, watcher, [answer, call = methodCall(member, arguments)] {
            answer(call.createErrorReply(QDBusError::Disconnected, {}));
        });
}

bool RemoteTarget::isAlive() const
{
    return m_server->isRunning();
}

void RemoteTarget::interrupt()
{
    m_server->interrupt();
}

QDBusMessage RemoteTarget::methodCall(const QString &member, const QVariantList &arguments) const
{
    // No interface: the member is found by its name alone, as an in-process call finds it.
    QDBusMessage message = QDBusMessage::createMethodCall(QString(), m_path, QString(), member);
    message.setArguments(arguments);
    return message;
}

QDBusMessage RemoteTarget::waitFor(const QDBusMessage &message)
{
    if (!m_server->isRunning())
        return message.createErrorReply(QDBusError::Disconnected, {});
    QDBusPendingCallWatcher watcher(m_server->connection().asyncCall(message, NoTimeout));
    bool answered = false;
    const QMetaObject::Connection replied
        = QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, [&answered] { answered = true; });
    const QMetaObject::Connection ended
        = QObject::connect(m_server.get(), &ServerProcess::ended, [&answered] { answered = true; });
    EventLoopWait::until([&answered] { return answered; });
    QObject::disconnect(replied);
    QObject::disconnect(ended);
    return watcher.isFinished() ? watcher.reply() : message.createErrorReply(QDBusError::Disconnected, {});
}

AutomationResult RemoteTarget::resultOf(const QString &member, const QDBusMessage &reply) const
{
    AutomationResult result;
    if (reply.type() == QDBusMessage::ReplyMessage) {
        if (reply.arguments().isEmpty())
            return result;
        const QVariant value = reply.arguments().constFirst();
        if (value.metaType() == QMetaType::fromType<QDBusObjectPath>()) {
            result.value = QVariant::fromValue(AutomationObject(
                std::make_shared<RemoteTarget>(m_server, value.value<QDBusObjectPath>().path(), true)));
        } else {
            result.value = value;
        }
        return result;
    }
    if (!m_server->isRunning()) {
        result.failure = QStringLiteral("\"%1\" failed: the server %2.").arg(member, m_server->endReason());
    } else if (reply.errorName() == QLatin1String(PlotServerBus::FailedError)) {
        result.failure = QStringLiteral("\"%1\" failed: %2").arg(member, reply.errorMessage());
    } else {
        result.failure = reply.errorMessage().isEmpty()
            ? QStringLiteral("\"%1\" failed: %2").arg(member, reply.errorName())
            : reply.errorMessage();
    }
    return result;
}
