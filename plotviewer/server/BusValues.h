#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>

namespace plotviewer::BusValues {

/// The D-Bus signature of a member's parameter or result of `type`, for introspection: what a
/// caller such as gdbus reads to know how to send its arguments.
QString signatureOf(QMetaType type);
/// A call's argument as it arrived, unwrapped from a D-Bus variant where it came in one.
QVariant fromBus(const QVariant &argument);
/// A member's result in a form D-Bus can carry: as it is where D-Bus knows its type, else as text.
QVariant toBus(const QVariant &result);

} // namespace plotviewer::BusValues
