#include "tarnwick/automation/InProcessTarget.h"

#include "contract/LateBinding.h"
#include "tarnwick/automation/AutomationError.h"
#include "tarnwick/automation/AutomationObject.h"

#include <QObject>
#include <QTimer>

InProcessTarget::InProcessTarget(QObject *object)
    : m_object(object)
{ }

InProcessTarget::~InProcessTarget() = default;

bool InProcessTarget::hasMember(const QString &member)
{
    return LateBinding::hasMember(*m_object, member);
}

QVariant InProcessTarget::call(const QString &member, const QVariantList &arguments)
{
    const LateBinding::Outcome outcome = LateBinding::call(*m_object, member, arguments);
    // Own a returned object before looking at the outcome, so that it cannot leak.
    const AutomationObject returned = outcome.object ? AutomationObject(outcome.object) : AutomationObject();
    switch (outcome.kind) {
    case LateBinding::Outcome::Kind::Done:
        return outcome.object ? QVariant::fromValue(returned) : outcome.value;
    case LateBinding::Outcome::Kind::Failed:
        throw AutomationError(QStringLiteral("\"%1\" failed: %2").arg(member, outcome.error));
    case LateBinding::Outcome::Kind::NoSuchMember:
    case LateBinding::Outcome::Kind::BadArguments:
        break;
    }
    throw AutomationError(outcome.error);
}

void InProcessTarget::callLater(
    const QString &member, const QVariantList &arguments, QObject *context, Done done)
{
    // The call runs when the event loop comes to it, as a reply from another process would arrive.
    QTimer::singleShot(0, context, [self = shared_from_this(), member, arguments, done = std::move(done)] {
        AutomationResult result;
        try {
            result.value = self->call(member, arguments);
        } catch (const AutomationError &error) {
            result.failure = error.description();
        }
        done(result);
    });
}
