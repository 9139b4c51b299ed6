#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>

#include <map>
#include <memory>

namespace plotviewer {

/// Serves an automation object on a D-Bus connection so that callers in other processes call its
/// members by name, as the program calls a server in its own process: names matched without regard
/// to case, arguments converted to the members' types, a member's failure an error reply with its
/// description. An object a member returns is served at a path of its own below the server's until
/// it is released. A shell script makes each call on a connection of its own, so a path, not a
/// connection, is what a caller holds: one that nobody else is told and nobody can guess.
class BusExporter : public QDBusVirtualObject
{
    Q_OBJECT
public:
    BusExporter(std::unique_ptr<QObject> server, QString serverPath, QString serverInterface,
        QString objectInterface);
    ~BusExporter() override;

    /// Serves on `connection`. False with `error` set when the path cannot be registered.
    bool serveOn(const QDBusConnection &connection, QString *error);

    QString introspect(const QString &path) const override;
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override;

Q_SIGNALS:
    /// A call came in; the server's idle time starts again.
    void called();

private:
    QDBusMessage reply(const QDBusMessage &call, const QDBusConnection &connection);
    QDBusMessage release(const QDBusMessage &call);
    /// Whether the caller is this process's own user: a bus may carry other users' calls, and a
    /// plot is opened with the rights of the user who asked for it.
    static bool callerIsOwnUser(const QDBusMessage &call, const QDBusConnection &connection);
    QString hold(QObject *object);
    QString interfaceXml(const QMetaObject &type, const QString &interface, bool releasable) const;

    std::unique_ptr<QObject> m_server;
    QString m_serverPath;
    QString m_serverInterface;
    QString m_objectInterface;
    std::map<QString, std::unique_ptr<QObject>> m_objects; // by path
    quint64 m_lastNumber = 0;
};

} // namespace plotviewer
