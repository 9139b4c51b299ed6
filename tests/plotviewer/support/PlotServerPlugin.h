#pragma once
// Loads the built plot viewer plugin as the program does and calls its members by name.

#include <QGenericArgument>
#include <QObject>
#include <QString>

#include <memory>

namespace plotviewer::test {

/// Where the build put the plugin.
QString plotServerPluginPath();

/// A new server object from the built plugin, or null with `error` set.
std::unique_ptr<QObject> createPlotServer(QString *error);

/// Calls `member` of `object` by name through the meta-object; returns the error the object
/// reports for the call (empty on success), or a description of why the call could not be made.
QString callMember(QObject &object, const char *member, QGenericArgument argument = QGenericArgument());

/// The same for a member returning an object, which the caller then owns.
std::unique_ptr<QObject> callForObject(
    QObject &object, const char *member, QGenericArgument argument, QString *error);

} // namespace plotviewer::test
