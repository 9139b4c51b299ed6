#include "tarnwick/plot/PrintRun.h"

#include "tarnwick/automation/AutomationObject.h"
#include "tarnwick/plot/PlotServer.h"

namespace PrintRun {

void printAll(const AutomationObject &server, const QStringList &paths,
    PlotViewer::ColourModeNumber colourMode, bool actualSize, const EntryStarting &entryStarting)
{
    for (qsizetype index = 0; index < paths.size(); ++index) {
        const QString &path = paths.at(index);
        if (entryStarting && !entryStarting(index, paths.size(), path))
            return;
        const AutomationObject document = openPlot(server, path, colourMode);
        if (actualSize)
            document.call(PlotViewer::ActualSize);
        document.call(PlotViewer::DoPrint);
    }
}

} // namespace PrintRun
