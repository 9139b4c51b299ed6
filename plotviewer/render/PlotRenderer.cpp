#include "PlotRenderer.h"

#include "PageExtent.h"
#include "PagePainter.h"
#include "PolylineReduction.h"

#include <QPaintDevice>
#include <QPainter>

namespace plotviewer {

PlotRenderer::PlotRenderer(RenderOptions options)
    : m_options(options)
{ }

bool PlotRenderer::render(QPainter &painter, const Page &page, const QRectF &target) const
{
    const Rect extent = pageExtent(page);
    if (extent.isEmpty() || target.isEmpty() || !painter.isActive())
        return false;
    const QPaintDevice *device = painter.device();
    return render(painter, page,
        PageTransform::place(
            m_options.placement, extent, target, QSizeF(device->logicalDpiX(), device->logicalDpiY())),
        target);
}

bool PlotRenderer::render(
    QPainter &painter, const Page &page, const PageTransform &transform, const QRectF &clip) const
{
    if (clip.isEmpty() || !painter.isActive())
        return false;
    painter.save();
    painter.setClipRect(clip, Qt::IntersectClip);
    painter.setBrush(Qt::NoBrush);
    PagePainter(painter, page, transform, clip, m_options, m_outlineFont).paint();
    painter.restore();
    return dropsAskedChords(page, transform);
}

} // namespace plotviewer
