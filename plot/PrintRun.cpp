#include "plot/PrintRun.h"

#include "automation/AutomationObject.h"

namespace PrintRun {

void printAll(const AutomationObject &server, const QStringList &paths, PlotViewer::ColourMode colourMode,
    bool actualSize)
{
    for (const QString &path : paths) {
        const AutomationObject document = server.callObject(PlotViewer::Open, { path });
        document.call(PlotViewer::SetColorMode, { QVariant::fromValue(short(colourMode)) });
        if (actualSize)
            document.call(PlotViewer::ActualSize);
        document.call(PlotViewer::DoPrint);
    }
}

} // namespace PrintRun
