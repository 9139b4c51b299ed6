#include "plot/Preview.h"

#include "base/FileSystem.h"
#include "base/FullPath.h"
#include "browse/FileList.h"
#include "contract/PlotViewerContract.h"
#include "plot/Form2.h"

#include <exception>
#include <memory>

Preview::Preview(const AutomationObject &server, PlotViewer::ColourMode colourMode, const QString &imageFile)
    : m_server(server)
    , m_colourMode(colourMode)
    , m_imageFile(imageFile)
{ }

void Preview::showSelected(const FileList &files)
{
    for (qsizetype row : files.selectedRows()) {
        probeImageFile();
        showEntry(fullPath(files.path(), files.entry(row)), files.entry(row));
    }
}

void Preview::probeImageFile()
{
    try {
        if (!FileSystem::fileExists(m_imageFile))
            m_imageExists = false;
        else if (m_imageExists)
            FileSystem::deleteFile(m_imageFile);
    } catch (const std::exception &) {
        m_imageExists = false;
    }
}

void Preview::showEntry(const QString &path, const QString &name)
{
    const AutomationObject document = m_server.callObject(PlotViewer::Open, { path });
    document.call(PlotViewer::SetColorMode, { QVariant::fromValue(short(m_colourMode)) });
    document.call(PlotViewer::SaveTo, { m_imageFile });

    auto window = std::make_unique<Form2>();
    window->loadPicture(m_imageFile);
    window->fitToPicture();
    window->setWindowTitle(QStringLiteral("Preview of : ") + name);
    window->show();
    window->fitToPicture(); // again, now that the window manager's frame is known
    window.release()->showPicture(); // the window deletes itself when closed
}
