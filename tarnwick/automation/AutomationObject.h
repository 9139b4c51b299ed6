#pragma once

#include "tarnwick/automation/AutomationTarget.h"

#include <QAnyStringView>
#include <QMetaType>
#include <QVariant>
#include <memory>

class QObject;

/// A reference to an automation object, called late-bound by member name with variant arguments,
/// whether the object lives in this process or in a server process of its own. Copies share the
/// object; dropping the last reference releases it at once. A default-constructed reference is
/// empty, and every call through it fails. Calls throw AutomationError.
class AutomationObject
{
public:
    AutomationObject() = default;
    /// An object in this process; takes ownership of `object`.
    explicit AutomationObject(QObject *object);
    explicit AutomationObject(std::shared_ptr<AutomationTarget> target);

    /// A new object of the server registered under `progId`.
    static AutomationObject create(const QString &progId);

    bool isEmpty() const { return !m_target; }
    void release() { m_target.reset(); }
    /// Whether the object has a member of that name (matched without regard to case) to call;
    /// false through an empty reference.
    bool hasMember(QAnyStringView member) const;

    /// Calls `member` (matched without regard to case) with `arguments`, each converted to the
    /// member's parameter type, and waits for its end. A returned object comes back as a QVariant
    /// holding an AutomationObject.
    QVariant call(QAnyStringView member, const QVariantList &arguments = {}) const;
    /// Calls `member` and returns the object it gives back.
    AutomationObject callObject(QAnyStringView member, const QVariantList &arguments = {}) const;
    /// Calls `member` without waiting for it: `done` gets its result or failure later, from the event
    /// loop, as long as `context` lives; never before this returns. The object is held until then.
    void callLater(QAnyStringView member, const QVariantList &arguments, QObject *context,
        AutomationTarget::Done done) const;

    /// False once the server behind the object has gone (ended, crashed, stopped), and for an empty
    /// reference; an object in this process never goes.
    bool isAlive() const { return m_target && m_target->isAlive(); }
    /// Asks the server to stop the call it is working on. A server in a process of its own that
    /// does not stop at once is ended, which fails its calls; a call in this process cannot be
    /// stopped, and nothing happens.
    void interrupt() const;

private:
    std::shared_ptr<AutomationTarget> m_target;
};

Q_DECLARE_METATYPE(AutomationObject)
