#pragma once

#include "tarnwick/automation/AutomationTarget.h"

#include <QSet>

#include <optional>

class QDBusMessage;
class ServerProcess;

/// An automation object served by a server process at an object path. Its calls wait without
/// holding the program still, for as long as the member takes: until the reply, the end of the
/// server, or its interruption. Objects the server returned are released on its side when their
/// last reference here goes.
class RemoteTarget : public AutomationTarget
{
public:
    RemoteTarget(std::shared_ptr<ServerProcess> server, QString path, bool returned);
    ~RemoteTarget() override;

    bool hasMember(const QString &member) override;
    QVariant call(const QString &member, const QVariantList &arguments) override;
    void callLater(
        const QString &member, const QVariantList &arguments, QObject *context, Done done) override;
    bool isAlive() const override;
    void interrupt() override;

private:
    QDBusMessage methodCall(const QString &member, const QVariantList &arguments) const;
    /// Sends `message` and runs the event loop until its reply comes or the server has gone; the
    /// reply, or an error in its place.
    QDBusMessage waitFor(const QDBusMessage &message);
    /// The result a reply carries, or the failure it reports, worded as an in-process call's.
    AutomationResult resultOf(const QString &member, const QDBusMessage &reply) const;

    std::shared_ptr<ServerProcess> m_server;
    QString m_path;
    bool m_returned; // an object a member returned, which its caller releases
    std::optional<QSet<QString>> m_members; // lower-case, read from the server once
};
