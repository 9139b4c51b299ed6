#include "BusValues.h"

#include <QDBusMetaType>
#include <QDBusVariant>
#include <QStringList>

namespace plotviewer::BusValues {

QString signatureOf(QMetaType type)
{
    if (type.flags().testFlag(QMetaType::PointerToQObject))
        return QStringLiteral("o");
    if (const char *known = QDBusMetaType::typeToSignature(type))
        return QString::fromLatin1(known);
    return QStringLiteral("s"); // what toBus makes of the rest
}

QVariant fromBus(const QVariant &argument)
{
    if (argument.metaType() == QMetaType::fromType<QDBusVariant>())
        return argument.value<QDBusVariant>().variant();
    return argument;
}

QVariant toBus(const QVariant &result)
{
    if (!result.isValid() || QDBusMetaType::typeToSignature(result.metaType()))
        return result;
    return result.toString();
}

} // namespace plotviewer::BusValues
