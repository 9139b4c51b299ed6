#include "PlotViewerPlugin.h"

#include "PlotServerObject.h"
#include "plotviewer/output/PlatformPrintDialog.h"
#include "plotviewer/output/PrinterSelection.h"
#include "plotviewer/output/SystemPrinterLookup.h"

namespace plotviewer {

QObject *PlotViewerPlugin::createObject(const QString &progId, QString *error)
{
    if (progId.compare(QLatin1String(PlotViewer::ProgId), Qt::CaseInsensitive) != 0) {
        *error = QStringLiteral("this server makes %1 objects, not %2")
                     .arg(QLatin1String(PlotViewer::ProgId), progId);
        return nullptr;
    }
    try {
        auto printers = std::make_shared<PrinterSelection>(
            std::make_shared<SystemPrinterLookup>(), std::make_shared<PlatformPrintDialog>());
        return new PlotServerObject(std::move(printers));
    } catch (const std::exception &e) {
        *error = QString::fromLocal8Bit(e.what());
        return nullptr;
    }
}

} // namespace plotviewer
