// A plugin that claims to serve a ProgID but whose root object is no automation server.
#include "contract/AutomationInterfaces.h"

#include <QObject>

class NotAServer : public QObject
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID AutomationServerFactory_iid FILE "notaserver.json")
};

#include "NotAServer.moc"
