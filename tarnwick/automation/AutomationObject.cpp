#include "tarnwick/automation/AutomationObject.h"

#include "tarnwick/automation/AutomationError.h"
#include "tarnwick/automation/AutomationRegistry.h"
#include "tarnwick/automation/InProcessTarget.h"

#include <QTimer>

namespace {

AutomationError emptyReference(const QString &member)
{
    return AutomationError(
        QStringLiteral("Object variable not set: \"%1\" was called through an empty reference.").arg(member));
}

} // namespace

AutomationObject::AutomationObject(QObject *object)
    : m_target(std::make_shared<InProcessTarget>(object))
{ }

AutomationObject::AutomationObject(std::shared_ptr<AutomationTarget> target)
    : m_target(std::move(target))
{ }

AutomationObject AutomationObject::create(const QString &progId)
{
    return AutomationObject(AutomationRegistry::instance().create(progId));
}

bool AutomationObject::hasMember(QAnyStringView member) const
{
    return m_target && m_target->hasMember(member.toString());
}

QVariant AutomationObject::call(QAnyStringView memberName, const QVariantList &arguments) const
{
    const QString member = memberName.toString();
    if (!m_target)
        throw emptyReference(member);
    // Keep the object alive through its own call, even if the call drops other references to it.
    const std::shared_ptr<AutomationTarget> target = m_target;
    return target->call(member, arguments);
}

AutomationObject AutomationObject::callObject(QAnyStringView memberName, const QVariantList &arguments) const
{
    const QVariant result = call(memberName, arguments);
    if (!result.canConvert<AutomationObject>()) {
        throw AutomationError(QStringLiteral("\"%1\" did not return an object.").arg(memberName.toString()));
    }
    return result.value<AutomationObject>();
}

void AutomationObject::callLater(QAnyStringView memberName, const QVariantList &arguments, QObject *context,
    AutomationTarget::Done done) const
{
    const QString member = memberName.toString();
    if (m_target) {
        m_target->callLater(member, arguments, context, std::move(done));
        return;
    }
    QTimer::singleShot(0, context, [done = std::move(done), failure = emptyReference(member).description()] {
        done({ {}, failure });
    });
}

void AutomationObject::interrupt() const
{
    if (m_target)
        m_target->interrupt();
}
