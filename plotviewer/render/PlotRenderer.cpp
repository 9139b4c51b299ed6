#include "PlotRenderer.h"

#include "PageExtent.h"
#include "PagePainter.h"

#include <QPaintDevice>
#include <QPainter>

namespace plotviewer {

PlotRenderer::PlotRenderer(RenderOptions options)
    : m_options(options)
{ }

void PlotRenderer::render(QPainter &painter, const Page &page, const QRectF &target) const
{
    const Rect extent = pageExtent(page);
    if (extent.isEmpty() || target.isEmpty() || !painter.isActive())
        return;
    const QPaintDevice *device = painter.device();
    render(painter, page,
        PageTransform::place(
            m_options.placement, extent, target, QSizeF(device->logicalDpiX(), device->logicalDpiY())),
        target);
}

void PlotRenderer::render(
    QPainter &painter, const Page &page, const PageTransform &transform, const QRectF &clip) const
{
    if (clip.isEmpty() || !painter.isActive())
        return;
    painter.save();
    painter.setClipRect(clip, Qt::IntersectClip);
    painter.setBrush(Qt::NoBrush);
    PagePainter(painter, page, transform, clip, m_options, m_outlineFont).paint();
    painter.restore();
}

} // namespace plotviewer
