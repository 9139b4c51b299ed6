#include "tarnwick/plot/Preview.h"

#include "tarnwick/automation/AutomationError.h"
#include "tarnwick/base/FileSystem.h"
#include "tarnwick/plot/PlotServer.h"

#include <algorithm>
#include <exception>

namespace {

// A page's picture takes some milliseconds to make and some hundred kilobytes to keep: past this
// many, a window would be long in filling and heavy to hold.
constexpr int mostPagesHeld = 200;

} // namespace

Preview::Preview(const AutomationObject &server, PlotViewer::ColourModeNumber colourMode,
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
        const AutomationObject document = openPlot(m_server, path, m_colourMode);
        document.call(PlotViewer::SaveTo, { m_pictureFile });
        m_showPicture(m_pictureFile, path, pagesOf(document), document);
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

PreviewPages Preview::pagesOf(const AutomationObject &document)
{
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
    return PreviewPages(count, first - 1, QList<QByteArray>(last - first + 1), shown - 1);
}
