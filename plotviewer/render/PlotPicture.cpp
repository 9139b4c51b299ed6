#include "PlotPicture.h"

#include "PageExtent.h"
#include "PlotRenderer.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace plotviewer {

QSize fittedPictureSize(const Rect &extent, QSize bound)
{
    const double width = extent.right - extent.left;
    const double height = extent.top - extent.bottom;
    if (!(width > 0 && height > 0) || bound.isEmpty())
        return bound.expandedTo(QSize(1, 1));
    const double scale = std::min(bound.width() / width, bound.height() / height);
    return QSize(std::clamp(int(std::lround(width * scale)), 1, bound.width()),
        std::clamp(int(std::lround(height * scale)), 1, bound.height()));
}

QImage renderPlotPicture(const Page &page, QSize bound, const RenderOptions &options)
{
    QImage picture(fittedPictureSize(pageExtent(page), bound), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    PlotRenderer(options).render(painter, page, QRectF(picture.rect()));
    return picture;
}

} // namespace plotviewer
