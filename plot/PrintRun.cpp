#include "plot/PrintRun.h"

#include "automation/AutomationObject.h"
#include "browse/PrintList.h"
#include "contract/PlotViewerContract.h"

namespace PrintRun {

void printAll(const PrintList &printList, const AutomationObject &server, PlotViewer::ColourMode colourMode,
    const std::function<bool()> &actualSize)
{
    const qsizetype count = printList.count();
    for (qsizetype i = 0; i < count; ++i) {
        const AutomationObject document = server.callObject(PlotViewer::Open, { printList.entry(i) });
        document.call(PlotViewer::SetColorMode, { QVariant::fromValue(short(colourMode)) });
        if (actualSize())
            document.call(PlotViewer::ActualSize);
        document.call(PlotViewer::DoPrint);
    }
}

} // namespace PrintRun
