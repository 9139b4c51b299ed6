#include "tarnwick/plot/Preview.h"

#include "tarnwick/base/FileSystem.h"
#include "tarnwick/plot/PlotServer.h"

#include <exception>

Preview::Preview(const AutomationObject &server, PlotViewer::ColourMode colourMode,
    const QString &pictureFile, ShowPicture showPicture)
    : m_server(server)
    , m_colourMode(colourMode)
    , m_pictureFile(pictureFile)
    , m_showPicture(std::move(showPicture))
{ }

void Preview::showAll(const QStringList &paths)
{
    for (const QString &path : paths) {
        probePictureFile();
        render(path);
        m_showPicture(m_pictureFile, path);
    }
}

void Preview::probePictureFile()
{
    try {
        if (!FileSystem::fileExists(m_pictureFile))
            m_pictureExists = false;
        else if (m_pictureExists)
            FileSystem::deleteFile(m_pictureFile);
    } catch (const std::exception &) {
        m_pictureExists = false;
    }
}

void Preview::render(const QString &path)
{
    const AutomationObject document = openPlot(m_server, path, m_colourMode);
    document.call(PlotViewer::SaveTo, { m_pictureFile });
}
