#include "tarnwick/plot/Preview.h"

#include "tarnwick/automation/AutomationError.h"
#include "tarnwick/base/FileSystem.h"
#include "tarnwick/plot/PlotServer.h"

#include <QTemporaryDir>

#include <algorithm>
#include <exception>

namespace {

// A page's picture takes some milliseconds to make and some hundred kilobytes to keep: past this
// many, a window would be long in coming and heavy to hold.
constexpr int mostPagesHeld = 200;

} // namespace

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
        m_showPicture(m_pictureFile, path, render(path));
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

PreviewPages Preview::render(const QString &path)
{
    const AutomationObject document = openPlot(m_server, path, m_colourMode);
    document.call(PlotViewer::SaveTo, { m_pictureFile });
    return otherPages(document);
}

PreviewPages Preview::otherPages(const AutomationObject &document)
{
    // All pictures are made now, while the document is open: the window keeps them compressed,
    // far smaller than the plot's pages, and turning a page then only decodes a picture.
    using namespace PlotViewer;
    for (const char *member : { PageCount, PreviewPage, SavePageTo }) {
        if (!document.hasMember(member))
            return {};
    }
    const int count = document.call(PageCount).toInt();
    if (count <= 1)
        return {};
    const int shown = document.call(PreviewPage).toInt();
    if (shown < 1 || shown > count) {
        throw AutomationError(
            QStringLiteral("The plot server saved page %1 of a plot of %2 pages.").arg(shown).arg(count));
    }
    // Pages from the first on, or from SaveTo's page should it lie beyond them.
    const int first = shown <= mostPagesHeld ? 1 : shown;
    const int last = std::min(count, first + mostPagesHeld - 1);
    const QTemporaryDir folder;
    if (!folder.isValid()) {
        throw RuntimeError(
            QStringLiteral("No folder for the pictures of the pages: %1").arg(folder.errorString()));
    }
    const QString pageFile = folder.filePath(QStringLiteral("page.jpg"));
    QList<QByteArray> pictures(last - first + 1);
    for (int page = first; page <= last; ++page) {
        if (page == shown)
            continue;
        document.call(SavePageTo, { page, pageFile });
        pictures[page - first] = FileSystem::readFile(pageFile);
    }
    return PreviewPages(count, first - 1, std::move(pictures), shown - 1);
}
