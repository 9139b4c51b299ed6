#pragma once

#include <QAnyStringView>
#include <QMetaType>
#include <QVariant>
#include <memory>

class QObject;

/// A reference to an automation object, called late-bound by member name with variant arguments.
/// Copies share the object; dropping the last reference destroys it at once. A default-constructed
/// reference is empty, and every call through it fails. Calls throw AutomationError.
class AutomationObject
{
public:
    AutomationObject() = default;
    /// Takes ownership of `object`.
    explicit AutomationObject(QObject *object);

    /// A new object of the server registered under `progId`.
    static AutomationObject create(const QString &progId);

    bool isEmpty() const { return !m_object; }
    void release() { m_object.reset(); }
    /// Whether the object has a member of that name (matched without regard to case) to call;
    /// false through an empty reference.
    bool hasMember(QAnyStringView member) const;

    /// Calls `member` (matched without regard to case) with `arguments`, each converted to the
    /// member's parameter type. A returned object comes back as a QVariant holding an AutomationObject.
    QVariant call(QAnyStringView member, const QVariantList &arguments = {}) const;
    /// Calls `member` and returns the object it gives back.
    AutomationObject callObject(QAnyStringView member, const QVariantList &arguments = {}) const;

private:
    std::shared_ptr<QObject> m_object;
};

Q_DECLARE_METATYPE(AutomationObject)
