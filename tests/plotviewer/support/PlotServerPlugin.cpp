#include "PlotServerPlugin.h"

#include "contract/AutomationInterfaces.h"
#include "contract/PlotViewerContract.h"

#include <QPluginLoader>

namespace plotviewer::test {

namespace {

QString takeError(QObject &object)
{
    auto *errors = qobject_cast<AutomationErrorSource *>(&object);
    return errors ? errors->takeError() : QStringLiteral("the object reports no errors");
}

} // namespace

QString plotServerPluginPath()
{
    return QStringLiteral(TARNWICK_PLOT_SERVER_PLUGIN);
}

std::unique_ptr<QObject> createPlotServer(QString *error)
{
    QPluginLoader loader(plotServerPluginPath());
    loader.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    auto *factory = qobject_cast<AutomationServerFactory *>(loader.instance());
    if (!factory) {
        *error = QStringLiteral("not an automation server: %1").arg(loader.errorString());
        return nullptr;
    }
    return std::unique_ptr<QObject>(factory->createObject(QLatin1String(PlotViewer::ProgId), error));
}

QString callMember(QObject &object, const char *member, QGenericArgument argument)
{
    if (!QMetaObject::invokeMethod(&object, member, Qt::DirectConnection, argument))
        return QStringLiteral("%1 could not be called").arg(QLatin1String(member));
    return takeError(object);
}

std::unique_ptr<QObject> callForObject(
    QObject &object, const char *member, QGenericArgument argument, QString *error)
{
    QObject *result = nullptr;
    if (!QMetaObject::invokeMethod(
            &object, member, Qt::DirectConnection, Q_RETURN_ARG(QObject *, result), argument)) {
        *error = QStringLiteral("%1 could not be called").arg(QLatin1String(member));
        return nullptr;
    }
    std::unique_ptr<QObject> owned(result);
    *error = takeError(object);
    return owned;
}

} // namespace plotviewer::test
