#include "contract/LateBinding.h"

#include "contract/AutomationInterfaces.h"

#include <QObject>
#include <array>

namespace LateBinding {

namespace {

constexpr int MostArguments = 10; // what QMetaMethod::invoke can pass

bool isCallable(const QMetaMethod &method)
{
    return method.access() == QMetaMethod::Public
        && (method.methodType() == QMetaMethod::Method || method.methodType() == QMetaMethod::Slot);
}

QList<QMetaMethod> membersNamed(const QMetaObject &type, const QString &member)
{
    QList<QMetaMethod> found;
    for (const QMetaMethod &method : callableMembers(type)) {
        if (QString::fromLatin1(method.name()).compare(member, Qt::CaseInsensitive) == 0)
            found.append(method);
    }
    return found;
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

Outcome refused(Outcome::Kind kind, QString error)
{
    Outcome outcome;
    outcome.kind = kind;
    outcome.error = std::move(error);
    return outcome;
}

/// `argument` as the parameter's type, or an invalid variant with `error` set.
QVariant converted(
    const QVariant &argument, QMetaType target, const QString &member, int position, QString *error)
{
    if (argument.metaType() == target)
        return argument;
    QVariant value = argument;
    if (!argument.isValid() || !value.convert(target)) {
        *error
            = QStringLiteral("Type mismatch in argument %1 of \"%2\": a %3 was given where a %4 "
                             "is expected.")
                  .arg(position)
                  .arg(member, QString::fromLatin1(argument.typeName()), QString::fromLatin1(target.name()));
        return {};
    }
    // A value that does not fit the parameter must not arrive silently cut.
    if (isInteger(target) && value.toDouble() != argument.toDouble()) {
        *error = QStringLiteral("Overflow in argument %1 of \"%2\": %3 does not fit a %4.")
                     .arg(position)
                     .arg(member, argument.toString(), QString::fromLatin1(target.name()));
        return {};
    }
    return value;
}

} // namespace

QList<QMetaMethod> callableMembers(const QMetaObject &type)
{
    QList<QMetaMethod> found;
    for (int i = 0; i < type.methodCount(); ++i) {
        const QMetaMethod method = type.method(i);
        if (isCallable(method))
            found.append(method);
    }
    return found;
}

bool hasMember(const QObject &object, const QString &member)
{
    return !membersNamed(*object.metaObject(), member).isEmpty();
}

Outcome call(QObject &object, const QString &member, const QVariantList &arguments)
{
    const QList<QMetaMethod> candidates = membersNamed(*object.metaObject(), member);
    if (candidates.isEmpty()) {
        return refused(Outcome::Kind::NoSuchMember,
            QStringLiteral("The object does not support the member \"%1\".").arg(member));
    }
    if (arguments.size() > MostArguments)
        return refused(
            Outcome::Kind::BadArguments, QStringLiteral("Too many arguments for \"%1\".").arg(member));
    const auto method = std::find_if(candidates.cbegin(), candidates.cend(),
        [&](const QMetaMethod &m) { return m.parameterCount() == arguments.size(); });
    if (method == candidates.cend()) {
        return refused(Outcome::Kind::BadArguments,
            QStringLiteral("Wrong number of arguments for \"%1\": it takes %2, %3 given.")
                .arg(member)
                .arg(candidates.first().parameterCount())
                .arg(arguments.size()));
    }

    QVariantList values;
    values.reserve(arguments.size());
    for (int i = 0; i < arguments.size(); ++i) {
        QString error;
        values.append(converted(arguments.at(i), method->parameterMetaType(i), member, i + 1, &error));
        if (!error.isEmpty())
            return refused(Outcome::Kind::BadArguments, error);
    }
    std::array<QGenericArgument, MostArguments> passed {};
    for (int i = 0; i < values.size(); ++i)
        passed[i] = QGenericArgument(method->parameterMetaType(i).name(), values[i].constData());

    const QMetaType returnType = method->returnMetaType();
    const bool hasResult = returnType.id() != QMetaType::Void;
    QVariant result = hasResult ? QVariant(returnType) : QVariant();
    const QGenericReturnArgument returned
        = hasResult ? QGenericReturnArgument(returnType.name(), result.data()) : QGenericReturnArgument();
    if (!method->invoke(&object, Qt::DirectConnection, returned, passed[0], passed[1], passed[2], passed[3],
            passed[4], passed[5], passed[6], passed[7], passed[8], passed[9])) {
        return refused(
            Outcome::Kind::BadArguments, QStringLiteral("The call to \"%1\" could not be made.").arg(member));
    }

    Outcome outcome;
    if (hasResult && returnType.flags().testFlag(QMetaType::PointerToQObject))
        outcome.object = *static_cast<QObject **>(result.data());
    else
        outcome.value = result;
    if (auto *errors = qobject_cast<AutomationErrorSource *>(&object)) {
        outcome.error = errors->takeError();
        if (!outcome.error.isEmpty())
            outcome.kind = Outcome::Kind::Failed;
    }
    return outcome;
}

} // namespace LateBinding
