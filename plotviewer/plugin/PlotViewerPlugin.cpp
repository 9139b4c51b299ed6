#include "PlotViewerPlugin.h"

#include "plotviewer/automation/PlotServerObject.h"

namespace plotviewer {

QObject *PlotViewerPlugin::createObject(const QString &progId, QString *error)
{
    if (progId.compare(QLatin1String(PlotViewer::ProgId), Qt::CaseInsensitive) != 0) {
        *error = QStringLiteral("this server makes %1 objects, not %2")
                     .arg(QLatin1String(PlotViewer::ProgId), progId);
        return nullptr;
    }
    try {
        return PlotServerObject::forThisSystem(true).release();
    } catch (const std::exception &e) {
        *error = QString::fromLocal8Bit(e.what());
        return nullptr;
    }
}

} // namespace plotviewer
