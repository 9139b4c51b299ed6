#include "tarnwick/plot/PreviewPageMaker.h"

#include "contract/PlotViewerContract.h"
#include "tarnwick/base/FileSystem.h"

#include <algorithm>
#include <exception>

PreviewPageMaker::PreviewPageMaker(AutomationObject document, QList<Work> work, QObject *parent)
    : QObject(parent)
    , m_document(std::move(document))
    , m_pending(std::move(work))
{ }

void PreviewPageMaker::start()
{
    if (!m_folder.isValid()) {
        finish(QStringLiteral("No folder for the pictures of the pages: %1").arg(m_folder.errorString()));
        return;
    }
    makeNext();
}

void PreviewPageMaker::prefer(qsizetype page)
{
    const auto found
        = std::find_if(m_pending.begin(), m_pending.end(), [page](const Work &w) { return w.page == page; });
    if (found == m_pending.end())
        return;
    const Work work = *found;
    m_pending.erase(found);
    m_pending.prepend(work);
}

void PreviewPageMaker::makeNext()
{
    if (m_pending.isEmpty()) {
        finish({});
        return;
    }
    // A page's picture comes before its drawing: the window shows the one and zooms with the other.
    Work &work = m_pending.first();
    const qsizetype page = work.page;
    const bool picture = work.picture;
    if (!picture && !work.drawing) {
        m_pending.removeFirst();
        makeNext();
        return;
    }
    work.picture = false;
    if (!picture || !work.drawing)
        m_pending.removeFirst();
    const QString file = m_folder.filePath(picture ? QStringLiteral("page.jpg") : QStringLiteral("page.svg"));
    m_document.callLater(picture ? PlotViewer::SavePageTo : PlotViewer::SaveSvgPageTo,
        { int(page + 1), file }, this, [this, page, picture, file](const AutomationResult &result) {
            if (result.failed()) {
                finish(result.failure);
                return;
            }
            QByteArray bytes;
            try {
                bytes = FileSystem::readFile(file);
            } catch (const std::exception &failure) {
                finish(QString::fromUtf8(failure.what()));
                return;
            }
            if (picture)
                Q_EMIT pageMade(page, bytes);
            else
                Q_EMIT drawingMade(page, bytes);
            makeNext();
        });
}

void PreviewPageMaker::finish(const QString &failure)
{
    m_pending.clear();
    m_document.release();
    Q_EMIT finished(failure);
}
