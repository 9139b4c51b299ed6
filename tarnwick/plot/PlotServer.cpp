#include "tarnwick/plot/PlotServer.h"

void PlotServer::create()
{
    AutomationObject server = AutomationObject::create(QString::fromLatin1(PlotViewer::ProgId));
    if (!m_settingsFile.isEmpty() && server.hasMember(PlotViewer::SetPenTable))
        server.call(PlotViewer::SetPenTable, { m_settingsFile });
    m_server = std::move(server);
}

void PlotServer::printSetup()
{
    create();
    m_server.call(PlotViewer::PrintSetup);
}

AutomationObject openPlot(
    const AutomationObject &server, const QString &path, PlotViewer::ColourMode colourMode)
{
    AutomationObject document = server.callObject(PlotViewer::Open, { path });
    document.call(PlotViewer::SetColorMode, { QVariant::fromValue(short(colourMode)) });
    return document;
}
