#include "tarnwick/plot/ZoomedPageDrawer.h"

#include <QMutex>
#include <QPainter>
#include <QSvgRenderer>

#include <memory>
#include <optional>

/// Lives in the drawer's thread: keeps the page's parsed drawing and draws the last view asked for.
class ZoomedPageWorker : public QObject
{
    Q_OBJECT
public:
    struct Request
    {
        QSize size;
        qreal pixelRatio = 1;
        QRectF pageRect;
        int drawing = 0;
    };

    void ask(const Request &request)
    {
        const QMutexLocker locked(&m_mutex);
        const bool idle = !m_pending;
        m_pending = request;
        if (idle)
            QMetaObject::invokeMethod(this, &ZoomedPageWorker::drawPending, Qt::QueuedConnection);
    }

    void load(const QByteArray &svg)
    {
        m_renderer = svg.isEmpty() ? nullptr : std::make_unique<QSvgRenderer>(svg);
    }

Q_SIGNALS:
    void drawn(const QImage &picture, const QRectF &pageRect, int drawing);

private:
    void drawPending()
    {
        std::optional<Request> request;
        {
            const QMutexLocker locked(&m_mutex);
            request = std::exchange(m_pending, std::nullopt);
        }
        if (!request || !m_renderer || !m_renderer->isValid() || request->size.isEmpty())
            return;
        QImage picture(request->size * request->pixelRatio, QImage::Format_RGB32);
        picture.setDevicePixelRatio(request->pixelRatio);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        m_renderer->render(&painter, request->pageRect);
        painter.end();
        Q_EMIT drawn(picture, request->pageRect, request->drawing);
    }

    QMutex m_mutex;
    std::optional<Request> m_pending;
    std::unique_ptr<QSvgRenderer> m_renderer;
};

ZoomedPageDrawer::ZoomedPageDrawer(QObject *parent)
    : QObject(parent)
    , m_worker(new ZoomedPageWorker)
{
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_worker, &ZoomedPageWorker::drawn, this,
        [this](const QImage &picture, const QRectF &pageRect, int drawing) {
            if (drawing == m_drawing)
                Q_EMIT drawn(picture, pageRect);
        });
    m_thread.start();
}

ZoomedPageDrawer::~ZoomedPageDrawer()
{
    m_thread.quit();
    m_thread.wait();
}

void ZoomedPageDrawer::setDrawing(const QByteArray &svg)
{
    ++m_drawing;
    QMetaObject::invokeMethod(m_worker, [worker = m_worker, svg] { worker->load(svg); });
}

void ZoomedPageDrawer::request(QSize size, qreal pixelRatio, QRectF pageRect)
{
    m_worker->ask({ size, pixelRatio, pageRect, m_drawing });
}

#include "ZoomedPageDrawer.moc"
