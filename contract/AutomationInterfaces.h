#pragma once
// The interfaces between Tarnwick and any automation server plugin. Shared by the program and the
// servers; keep it free of anything either side owns.

#include <QString>
#include <QtPlugin>

class QObject;

/// Root object of a server plugin. The plugin's JSON metadata lists what it serves:
///     { "ProgIDs": [ "Plotviewer.application" ] }
class AutomationServerFactory
{
public:
    virtual ~AutomationServerFactory() = default;
    /// A new object for `progId`, owned by the caller; nullptr with `error` set when it cannot be made.
    virtual QObject *createObject(const QString &progId, QString *error) = 0;
};

/// Implemented by every automation object. A failing member records a description here and returns,
/// so that no exception ever unwinds through Qt's meta-call frames.
class AutomationErrorSource
{
public:
    virtual ~AutomationErrorSource() = default;
    /// The description of the last failed call, or an empty string; reading it clears it.
    virtual QString takeError() = 0;
};

#define AutomationServerFactory_iid "org.tarnwick.AutomationServerFactory/1.0"
#define AutomationErrorSource_iid "org.tarnwick.AutomationErrorSource/1.0"
Q_DECLARE_INTERFACE(AutomationServerFactory, AutomationServerFactory_iid)
Q_DECLARE_INTERFACE(AutomationErrorSource, AutomationErrorSource_iid)
