#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>

#include <map>
#include <memory>

class QDBusServiceWatcher;

namespace plotviewer {

/// Serves an automation object on a D-Bus connection so that callers in other processes call its
/// members by name, as the program calls a server in its own process: names matched without regard
/// to case, arguments converted to the members' types, a member's failure an error reply with its
/// description. An object a member returns is served at a path of its own below the server's, for
/// the caller that asked for it alone, until that caller releases it or leaves the bus.
class BusExporter : public QDBusVirtualObject
{
    Q_OBJECT
public:
    BusExporter(std::unique_ptr<QObject> server, QString serverPath, QString serverInterface,
        QString objectInterface);
    ~BusExporter() override;

    /// Serves on `connection`. False with `error` set when the path cannot be registered.
    bool serveOn(const QDBusConnection &connection, QString *error);
    /// How many returned objects are held for callers.
    std::size_t objectCount() const { return m_objects.size(); }

    QString introspect(const QString &path) const override;
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override;

Q_SIGNALS:
    /// A call came in; the server's idle time starts again.
    void called();

private:
    struct Held
    {
        std::unique_ptr<QObject> object;
        QString owner; // the caller's unique bus name; empty on a peer connection
    };

    QDBusMessage reply(const QDBusMessage &call, const QDBusConnection &connection);
    QDBusMessage release(const QDBusMessage &call);
    /// Whether the caller is this process's own user: a bus may carry other users' calls, and a
    /// plot is opened with the rights of the user who asked for it.
    static bool callerIsOwnUser(const QDBusMessage &call, const QDBusConnection &connection);
    QString hold(QObject *object, const QString &owner);
    void releaseObjectsOf(const QString &owner);
    QString interfaceXml(const QMetaObject &type, const QString &interface, bool releasable) const;

    std::unique_ptr<QObject> m_server;
    QString m_serverPath;
    QString m_serverInterface;
    QString m_objectInterface;
    std::map<QString, Held> m_objects; // by path
    quint64 m_lastNumber = 0;
    QDBusServiceWatcher *m_owners = nullptr;
};

} // namespace plotviewer
