#pragma once

#include "contract/AutomationInterfaces.h"
#include "contract/PlotViewerContract.h"

#include <QObject>

namespace plotviewer {

/// The plugin's root object: makes plot viewer server objects.
class PlotViewerPlugin : public QObject, public AutomationServerFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID AutomationServerFactory_iid FILE "plotviewer.json")
    Q_INTERFACES(AutomationServerFactory)

public:
    QObject *createObject(const QString &progId, QString *error) override;
};

} // namespace plotviewer
