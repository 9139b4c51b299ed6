#include "PagedPlotWriter.h"

#include "plotviewer/render/PageExtent.h"
#include "plotviewer/render/PlotRenderer.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace plotviewer {

PagedPlotWriter::PagedPlotWriter(RenderOptions options, std::optional<QPageLayout::Orientation> orientation)
    : m_options(options)
    , m_orientation(orientation)
{ }

QPageLayout::Orientation PagedPlotWriter::orientationFor(const Page &page) const
{
    if (m_orientation)
        return *m_orientation;
    return isLandscape(pageExtent(page)) ? QPageLayout::Landscape : QPageLayout::Portrait;
}

bool PagedPlotWriter::write(QPagedPaintDevice &device, const DisplayList &plot) const
{
    const PlotRenderer renderer(m_options);
    QPainter painter;
    for (std::size_t i = 0; i < plot.pages.size(); ++i) {
        const Page &page = plot.pages[i];
        device.setPageOrientation(orientationFor(page));
        const bool started = i == 0 ? painter.begin(&device) : device.newPage();
        if (!started)
            return false;
        // The painter's origin is the top left of the printable area.
        const int resolution = device.logicalDpiX();
        const QRect printable = device.pageLayout().paintRectPixels(resolution);
        const QRectF target = m_options.placement == Placement::Fit
            ? QRectF(QPointF(0, 0), printable.size())
            : QRectF(device.pageLayout().fullRectPixels(resolution).translated(-printable.topLeft()));
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(painter, page, target);
    }
    return !painter.isActive() || painter.end();
}

} // namespace plotviewer
