#include "tarnwick/plot/PagePicture.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

PagePicture::PagePicture(QWidget *parent)
    : QLabel(parent)
{
    connect(&m_drawer, &ZoomedPageDrawer::drawn, this, &PagePicture::noteDrawn);
}

void PagePicture::showPage(const QPixmap &picture, const QByteArray &svg)
{
    setPixmap(picture);
    resize(picture.size());
    m_zoom = PageZoom(picture.deviceIndependentSize());
    m_sharp = {};
    m_svg.clear();
    setDrawing(svg);
    viewChanged();
}

void PagePicture::setDrawing(const QByteArray &svg)
{
    if (svg.isEmpty() || svg == m_svg)
        return;
    m_svg = svg;
    m_drawer.setDrawing(svg);
    describeZoom();
}

void PagePicture::describeZoom()
{
    // A screen reader names the zoom, once there is one to change.
    setAccessibleDescription(canZoom() ? QStringLiteral("Zoom %1").arg(m_zoom.percent()) : QString());
}

bool PagePicture::zoomAbout(QPointF anchor, double by)
{
    if (!canZoom() || !m_zoom.zoomAbout(anchor, by))
        return false;
    viewChanged();
    return true;
}

bool PagePicture::pan(QPointF delta)
{
    if (!m_zoom.pan(delta))
        return false;
    viewChanged();
    return true;
}

void PagePicture::resetZoom()
{
    if (m_zoom.isFirstView())
        return;
    m_zoom.reset();
    viewChanged();
}

void PagePicture::viewChanged()
{
    setCursor(m_zoom.isFirstView() ? Qt::ArrowCursor : Qt::OpenHandCursor);
    describeZoom();
    if (!m_zoom.isFirstView() && m_sharpPage != m_zoom.pageRect())
        m_drawer.request(size(), devicePixelRatioF(), m_zoom.pageRect());
    update();
}

void PagePicture::noteDrawn(const QImage &picture, const QRectF &pageRect)
{
    m_sharp = picture;
    m_sharpPage = pageRect;
    update();
}

void PagePicture::paintEvent(QPaintEvent *event)
{
    if (m_zoom.isFirstView()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const QRectF page = m_zoom.pageRect();
    if (!m_sharp.isNull() && m_sharpPage == page) {
        painter.drawImage(QPointF(0, 0), m_sharp);
        return;
    }
    // Until the sharp view comes: the first picture enlarged, under the last sharp view moved to
    // where its part of the page now lies.
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(page, pixmap(), QRectF(pixmap().rect()));
    if (!m_sharp.isNull() && !m_sharpPage.isEmpty()) {
        const double scale = page.width() / m_sharpPage.width();
        const QRectF moved(
            page.topLeft() - m_sharpPage.topLeft() * scale, m_sharp.deviceIndependentSize() * scale);
        painter.drawImage(moved, m_sharp);
    }
}

void PagePicture::wheelEvent(QWheelEvent *event)
{
    Q_EMIT wheelTurned(event->position(), event->angleDelta(), event->modifiers());
    event->accept();
}

void PagePicture::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_zoom.isFirstView()) {
        QLabel::mousePressEvent(event);
        return;
    }
    m_dragFrom = event->position();
    setCursor(Qt::ClosedHandCursor);
}

void PagePicture::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragFrom) {
        QLabel::mouseMoveEvent(event);
        return;
    }
    const QPointF delta = event->position() - *m_dragFrom;
    m_dragFrom = event->position();
    Q_EMIT dragged(delta);
}

void PagePicture::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_dragFrom) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    m_dragFrom.reset();
    setCursor(m_zoom.isFirstView() ? Qt::ArrowCursor : Qt::OpenHandCursor);
}
