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
    const PageTransform transform = PageTransform::place(
        m_options.placement, extent, target, QSizeF(device->logicalDpiX(), device->logicalDpiY()));
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    painter.setBrush(Qt::NoBrush);
    PagePainter(painter, page, transform, target, m_options, m_outlineFont).paint();
    painter.restore();
}

} // namespace plotviewer
