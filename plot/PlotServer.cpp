#include "plot/PlotServer.h"

#include "contract/PlotViewerContract.h"

void PlotServer::create()
{
    m_server = AutomationObject::create(QString::fromLatin1(PlotViewer::ProgId));
}

void PlotServer::printSetup()
{
    create();
    m_server.call(PlotViewer::PrintSetup);
}
