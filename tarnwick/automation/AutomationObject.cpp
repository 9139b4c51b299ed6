#include "tarnwick/automation/AutomationObject.h"

#include "contract/AutomationInterfaces.h"
#include "tarnwick/automation/AutomationError.h"
#include "tarnwick/automation/AutomationRegistry.h"

#include <QMetaMethod>
#include <QObject>
#include <array>

namespace {

constexpr int MaxArguments = 10; // what QMetaMethod::invoke can pass

bool isCallable(const QMetaMethod &method)
{
    return method.access() == QMetaMethod::Public
        && (method.methodType() == QMetaMethod::Method || method.methodType() == QMetaMethod::Slot);
}

QList<QMetaMethod> membersNamed(const QMetaObject *type, const QString &member)
{
    QList<QMetaMethod> found;
    for (int i = 0; i < type->methodCount(); ++i) {
        const QMetaMethod method = type->method(i);
        if (isCallable(method)
            && QString::fromLatin1(method.name()).compare(member, Qt::CaseInsensitive) == 0)
            found.append(method);
    }
    return found;
}

QMetaMethod resolveMember(const QObject &object, const QString &member, qsizetype argumentCount)
{
    const QList<QMetaMethod> candidates = membersNamed(object.metaObject(), member);
    if (candidates.isEmpty())
        throw AutomationError(QStringLiteral("The object does not support the member \"%1\".").arg(member));
    for (const QMetaMethod &method : candidates) {
        if (method.parameterCount() == argumentCount)
            return method;
    }
    throw AutomationError(QStringLiteral("Wrong number of arguments for \"%1\": it takes %2, %3 given.")
                              .arg(member)
                              .arg(candidates.first().parameterCount())
                              .arg(argumentCount));
}

bool isInteger(QMetaType type)
{
    switch (type.id()) {
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

QVariant convertArgument(const QVariant &argument, QMetaType target, const QString &member, int position)
{
    if (argument.metaType() == target)
        return argument;
    QVariant converted = argument;
    if (!argument.isValid() || !converted.convert(target)) {
        throw AutomationError(
            QStringLiteral("Type mismatch in argument %1 of \"%2\": a %3 was given where a %4 "
                           "is expected.")
                .arg(position)
                .arg(member, QString::fromLatin1(argument.typeName()), QString::fromLatin1(target.name())));
    }
    // A value that does not fit the parameter must not arrive silently cut.
    if (isInteger(target) && converted.toDouble() != argument.toDouble()) {
        throw AutomationError(QStringLiteral("Overflow in argument %1 of \"%2\": %3 does not fit a %4.")
                                  .arg(position)
                                  .arg(member, argument.toString(), QString::fromLatin1(target.name())));
    }
    return converted;
}

bool returnsObject(QMetaType type)
{
    return type.flags().testFlag(QMetaType::PointerToQObject);
}

void throwIfServerFailed(QObject &object, const QString &member)
{
    auto *errors = qobject_cast<AutomationErrorSource *>(&object);
    if (!errors)
        return;
    const QString error = errors->takeError();
    if (!error.isEmpty())
        throw AutomationError(QStringLiteral("\"%1\" failed: %2").arg(member, error));
}

} // namespace

AutomationObject::AutomationObject(QObject *object)
    : m_object(object)
{ }

AutomationObject AutomationObject::create(const QString &progId)
{
    return AutomationObject(AutomationRegistry::instance().createObject(progId));
}

bool AutomationObject::hasMember(QAnyStringView member) const
{
    return m_object && !membersNamed(m_object->metaObject(), member.toString()).isEmpty();
}

QVariant AutomationObject::call(QAnyStringView memberName, const QVariantList &arguments) const
{
    const QString member = memberName.toString();
    if (!m_object) {
        throw AutomationError(
            QStringLiteral("Object variable not set: \"%1\" was called through an empty reference.")
                .arg(member));
    }
    if (arguments.size() > MaxArguments)
        throw AutomationError(QStringLiteral("Too many arguments for \"%1\".").arg(member));

    const QMetaMethod method = resolveMember(*m_object, member, arguments.size());
    QVariantList converted;
    converted.reserve(arguments.size());
    for (int i = 0; i < arguments.size(); ++i)
        converted.append(convertArgument(arguments.at(i), method.parameterMetaType(i), member, i + 1));

    std::array<QGenericArgument, MaxArguments> passed {};
    for (int i = 0; i < converted.size(); ++i)
        passed[i] = QGenericArgument(method.parameterMetaType(i).name(), converted[i].constData());

    const QMetaType returnType = method.returnMetaType();
    const bool hasResult = returnType.id() != QMetaType::Void;
    QVariant result = hasResult ? QVariant(returnType) : QVariant();
    const QGenericReturnArgument returned
        = hasResult ? QGenericReturnArgument(returnType.name(), result.data()) : QGenericReturnArgument();

    // Keep the object alive through its own call, even if the call drops other references to it.
    const std::shared_ptr<QObject> target = m_object;
    const bool invoked = method.invoke(target.get(), Qt::DirectConnection, returned, passed[0], passed[1],
        passed[2], passed[3], passed[4], passed[5], passed[6], passed[7], passed[8], passed[9]);
    if (!invoked)
        throw AutomationError(QStringLiteral("The call to \"%1\" could not be made.").arg(member));
    // Take ownership of a returned object before looking for an error, so that it cannot leak.
    if (hasResult && returnsObject(returnType))
        result = QVariant::fromValue(AutomationObject(*static_cast<QObject **>(result.data())));
    throwIfServerFailed(*target, member);
    return result;
}

AutomationObject AutomationObject::callObject(QAnyStringView memberName, const QVariantList &arguments) const
{
    const QVariant result = call(memberName, arguments);
    if (!result.canConvert<AutomationObject>()) {
        throw AutomationError(QStringLiteral("\"%1\" did not return an object.").arg(memberName.toString()));
    }
    return result.value<AutomationObject>();
}
