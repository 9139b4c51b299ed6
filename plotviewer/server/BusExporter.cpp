#include "BusExporter.h"

#include "BusValues.h"
#include "contract/LateBinding.h"
#include "contract/PlotServerBus.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QRandomGenerator>

#include <unistd.h>

namespace plotviewer {

namespace {

const QString UnknownMethod = QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod");
const QString UnknownObject = QStringLiteral("org.freedesktop.DBus.Error.UnknownObject");
const QString InvalidArgs = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");
const QString AccessDenied = QStringLiteral("org.freedesktop.DBus.Error.AccessDenied");

QString errorName(LateBinding::Outcome::Kind kind)
{
    switch (kind) {
    case LateBinding::Outcome::Kind::NoSuchMember:
        return UnknownMethod;
    case LateBinding::Outcome::Kind::BadArguments:
        return InvalidArgs;
    case LateBinding::Outcome::Kind::Failed:
    case LateBinding::Outcome::Kind::Done:
        break;
    }
    return QString::fromLatin1(PlotServerBus::FailedError);
}

QString escaped(QString text)
{
    return text.replace(u'&', QLatin1String("&amp;")).replace(u'<', QLatin1String("&lt;"));
}

} // namespace

BusExporter::BusExporter(
    std::unique_ptr<QObject> server, QString serverPath, QString serverInterface, QString objectInterface)
    : m_server(std::move(server))
    , m_serverPath(std::move(serverPath))
    , m_serverInterface(std::move(serverInterface))
    , m_objectInterface(std::move(objectInterface))
{ }

BusExporter::~BusExporter() = default;

bool BusExporter::serveOn(const QDBusConnection &connection, QString *error)
{
    QDBusConnection served = connection;
    if (!served.registerVirtualObject(m_serverPath, this, QDBusConnection::SubPath)) {
        *error = QStringLiteral("the path %1 cannot be registered: %2")
                     .arg(m_serverPath, served.lastError().message());
        return false;
    }
    return true;
}

bool BusExporter::handleMessage(const QDBusMessage &message, const QDBusConnection &connection)
{
    if (message.type() != QDBusMessage::MethodCallMessage)
        return false;
    Q_EMIT called();
    QDBusConnection(connection).send(reply(message, connection));
    return true;
}

QDBusMessage BusExporter::reply(const QDBusMessage &call, const QDBusConnection &connection)
{
    if (!callerIsOwnUser(call, connection))
        return call.createErrorReply(
            AccessDenied, QStringLiteral("Only this server's own user may call it."));
    const QString path = call.path();
    if (call.interface() == QLatin1String("org.freedesktop.DBus.Introspectable")
        && call.member() == QLatin1String("Introspect")) {
        return call.createReply(QStringLiteral("<node>%1</node>").arg(introspect(path)));
    }
    QObject *target = nullptr;
    if (path == m_serverPath) {
        target = m_server.get();
    } else if (const auto held = m_objects.find(path); held != m_objects.end()) {
        if (call.member().compare(QLatin1String(PlotServerBus::Release), Qt::CaseInsensitive) == 0)
            return release(call);
        target = held->second.get();
    } else {
        return call.createErrorReply(UnknownObject, QStringLiteral("There is no object at %1.").arg(path));
    }

    QVariantList arguments;
    for (const QVariant &argument : call.arguments())
        arguments.append(BusValues::fromBus(argument));
    const LateBinding::Outcome outcome = LateBinding::call(*target, call.member(), arguments);
    if (!outcome.succeeded()) {
        delete outcome.object;
        return call.createErrorReply(errorName(outcome.kind), outcome.error);
    }
    if (outcome.object)
        return call.createReply(QVariant::fromValue(QDBusObjectPath(hold(outcome.object))));
    if (!outcome.value.isValid())
        return call.createReply();
    return call.createReply(BusValues::toBus(outcome.value));
}

QDBusMessage BusExporter::release(const QDBusMessage &call)
{
    if (!call.arguments().isEmpty())
        return call.createErrorReply(InvalidArgs, QStringLiteral("\"Release\" takes no arguments."));
    m_objects.erase(call.path());
    return call.createReply();
}

bool BusExporter::callerIsOwnUser(const QDBusMessage &call, const QDBusConnection &connection)
{
    // A peer connection's other end was let in by the same check when it connected.
    if (!connection.interface() || call.service().isEmpty())
        return true;
    const QDBusReply<uint> uid = connection.interface()->serviceUid(call.service());
    return uid.isValid() && uid.value() == ::getuid();
}

QString BusExporter::hold(QObject *object)
{
    // Numbered, so that no two are alike, and with a random part, so that no caller finds another's.
    QRandomGenerator &random = *QRandomGenerator::system();
    const QString path = QStringLiteral("%1/object/n%2_%3%4")
                             .arg(m_serverPath)
                             .arg(++m_lastNumber)
                             .arg(random.generate64(), 16, 16, QLatin1Char('0'))
                             .arg(random.generate64(), 16, 16, QLatin1Char('0'));
    m_objects.emplace(path, object);
    return path;
}

QString BusExporter::introspect(const QString &path) const
{
    // Held objects are not listed: each is its caller's alone.
    if (path == m_serverPath)
        return interfaceXml(*m_server->metaObject(), m_serverInterface, false);
    const auto held = m_objects.find(path);
    return held == m_objects.end() ? QString()
                                   : interfaceXml(*held->second->metaObject(), m_objectInterface, true);
}

QString BusExporter::interfaceXml(const QMetaObject &type, const QString &interface, bool releasable) const
{
    QString xml = QStringLiteral("<interface name=\"%1\">").arg(interface);
    for (const QMetaMethod &member : LateBinding::callableMembers(type)) {
        if (member.enclosingMetaObject() == &QObject::staticMetaObject)
            continue; // deleteLater and the like are no members of the server's
        xml += QStringLiteral("<method name=\"%1\">").arg(QString::fromLatin1(member.name()));
        for (int i = 0; i < member.parameterCount(); ++i) {
            xml += QStringLiteral("<arg name=\"%1\" type=\"%2\" direction=\"in\"/>")
                       .arg(escaped(QString::fromLatin1(member.parameterNames().at(i))),
                           BusValues::signatureOf(member.parameterMetaType(i)));
        }
        if (member.returnMetaType().id() != QMetaType::Void) {
            xml += QStringLiteral("<arg type=\"%1\" direction=\"out\"/>")
                       .arg(BusValues::signatureOf(member.returnMetaType()));
        }
        xml += QLatin1String("</method>");
    }
    if (releasable)
        xml += QStringLiteral("<method name=\"%1\"/>").arg(QLatin1String(PlotServerBus::Release));
    return xml + QLatin1String("</interface>");
}

} // namespace plotviewer
