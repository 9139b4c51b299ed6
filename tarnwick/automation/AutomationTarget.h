#pragma once

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

class QObject;

/// The outcome of a call made without waiting: the member's result (an AutomationObject for a
/// returned object), or why the call failed.
struct AutomationResult
{
    QVariant value;
    QString failure;
    bool failed() const { return !failure.isEmpty(); }
};

/// One automation object as AutomationObject reaches it: in the program's own process, or in a
/// server process of its own. Members are matched by name without regard to case. Targets are
/// shared: a call made without waiting keeps its target until it is done.
class AutomationTarget : public std::enable_shared_from_this<AutomationTarget>
{
public:
    using Done = std::function<void(const AutomationResult &)>;

    virtual ~AutomationTarget() = default;

    virtual bool hasMember(const QString &member) = 0;
    /// Calls `member` and returns its result; throws AutomationError when it fails.
    virtual QVariant call(const QString &member, const QVariantList &arguments) = 0;
    /// Calls `member` without waiting; `done` runs later from the event loop while `context` lives.
    virtual void callLater(const QString &member, const QVariantList &arguments, QObject *context, Done done)
        = 0;
    /// False once the server behind the object has gone.
    virtual bool isAlive() const = 0;
    /// Asks the server to stop the call it is working on (see AutomationObject::interrupt).
    virtual void interrupt() = 0;
};
