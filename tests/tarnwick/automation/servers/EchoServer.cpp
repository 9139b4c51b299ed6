// A working server plugin: "Test.echo" objects echo their argument; "Test.refusing" cannot be made.
#include "contract/AutomationInterfaces.h"

#include <QObject>

class EchoObject : public QObject, public AutomationErrorSource
{
    Q_OBJECT
    Q_INTERFACES(AutomationErrorSource)
public:
    Q_INVOKABLE QString Echo(const QString &text) { return text; }
    QString takeError() override { return {}; }
};

class EchoServer : public QObject, public AutomationServerFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID AutomationServerFactory_iid FILE "echo.json")
    Q_INTERFACES(AutomationServerFactory)
public:
    QObject *createObject(const QString &progId, QString *error) override
    {
        if (progId.compare(QLatin1String("Test.refusing"), Qt::CaseInsensitive) == 0) {
            *error = QStringLiteral("the licence has expired");
            return nullptr;
        }
        return new EchoObject;
    }
};

#include "EchoServer.moc"
