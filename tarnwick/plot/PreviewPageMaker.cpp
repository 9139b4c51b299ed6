#include "tarnwick/plot/PreviewPageMaker.h"

#include "contract/PlotViewerContract.h"
#include "tarnwick/base/FileSystem.h"

#include <exception>

PreviewPageMaker::PreviewPageMaker(AutomationObject document, QList<qsizetype> pages, QObject *parent)
    : QObject(parent)
    , m_document(std::move(document))
    , m_pending(std::move(pages))
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
    if (m_pending.removeOne(page))
        m_pending.prepend(page);
}

void PreviewPageMaker::makeNext()
{
    if (m_pending.isEmpty()) {
        finish({});
        return;
    }
    const qsizetype page = m_pending.takeFirst();
    const QString pageFile = m_folder.filePath(QStringLiteral("page.jpg"));
    m_document.callLater(PlotViewer::SavePageTo, { int(page + 1), pageFile }, this,
        [this, page, pageFile](const AutomationResult &result) {
            if (result.failed()) {
                finish(result.failure);
                return;
            }
            QByteArray picture;
            try {
                picture = FileSystem::readFile(pageFile);
            } catch (const std::exception &failure) {
                finish(QString::fromUtf8(failure.what()));
                return;
            }
            Q_EMIT pageMade(page, picture);
            makeNext();
        });
}

void PreviewPageMaker::finish(const QString &failure)
{
    m_pending.clear();
    m_document.release();
    Q_EMIT finished(failure);
}
