#include "tarnwick/plot/PlotServer.h"

#include <exception>

void PlotServer::create()
{
    AutomationObject server = AutomationObject::create(QString::fromLatin1(PlotViewer::ProgId));
    if (!m_settingsFile.isEmpty() && server.hasMember(PlotViewer::SetPenTable))
        server.call(PlotViewer::SetPenTable, { m_settingsFile });
    m_server = std::move(server);
}

void PlotServer::printSetup(quintptr ownerWindow)
{
    create();
    if (ownerWindow && m_server.hasMember(PlotViewer::SetOwnerWindow))
        m_server.call(PlotViewer::SetOwnerWindow, { qlonglong(ownerWindow) });
    m_server.call(PlotViewer::PrintSetup);
}

void PlotServer::shutDown()
{
    m_server.interrupt();
    m_server.release();
}

void PlotServer::replaceIfGone()
{
    if (m_server.isEmpty() || m_server.isAlive())
        return;
    try {
        create();
    } catch (const std::exception &) {
        release(); // the next run reports what a missing server means
    }
}

AutomationObject openPlot(
    const AutomationObject &server, const QString &path, PlotViewer::ColourModeNumber colourMode)
{
    AutomationObject document = server.callObject(PlotViewer::Open, { path });
    document.call(PlotViewer::SetColorMode, { QVariant::fromValue(short(colourMode)) });
    return document;
}
