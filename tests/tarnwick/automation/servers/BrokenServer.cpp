// A server plugin that cannot be loaded: it needs a symbol that no library defines.
#include "contract/AutomationInterfaces.h"

#include <QObject>

extern "C" QObject *symbolThatNoLibraryDefines();

class BrokenServer : public QObject, public AutomationServerFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID AutomationServerFactory_iid FILE "broken.json")
    Q_INTERFACES(AutomationServerFactory)
public:
    QObject *createObject(const QString &, QString *) override { return symbolThatNoLibraryDefines(); }
};

#include "BrokenServer.moc"
