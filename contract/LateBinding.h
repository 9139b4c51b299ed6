#pragma once
// Calls an automation object's members by name, for the program's in-process servers and for the
// plot server process on behalf of callers in other processes: one set of rules for both.

#include <QList>
#include <QMetaMethod>
#include <QString>
#include <QVariant>

class QObject;

namespace LateBinding {

/// What a call by name came to.
struct Outcome
{
    enum class Kind {
        Done,
        NoSuchMember, ///< no public invokable member of that name
        BadArguments, ///< too many, too few, or not convertible to the member's parameters
        Failed, ///< the member ran and reported a failure through AutomationErrorSource
    };
    Kind kind = Kind::Done;
    /// The member's result; invalid for a member that returns nothing or returns an object.
    QVariant value;
    /// An object the member returned, owned by the caller, also when the member then failed.
    QObject *object = nullptr;
    /// Why the call did not succeed: the whole sentence, or for Failed the member's own description.
    QString error;

    bool succeeded() const { return kind == Kind::Done; }
};

/// The public invokable members (methods and slots) of `type` that can be called by name.
QList<QMetaMethod> callableMembers(const QMetaObject &type);
/// Whether `object` has a member of that name, matched without regard to case.
bool hasMember(const QObject &object, const QString &member);
/// Calls `member` (matched without regard to case) with `arguments`, each converted to the member's
/// parameter type. A value that does not fit an integer parameter is refused, never cut.
Outcome call(QObject &object, const QString &member, const QVariantList &arguments);

} // namespace LateBinding
