#include "PlotPicture.h"

#include "PageExtent.h"
#include "PlotRenderer.h"
#include "plotviewer/model/PlotUnits.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace plotviewer {

QSize plotPictureSize(const Rect &extent, QSize bound, Placement placement)
{
    const double width = extent.right - extent.left;
    const double height = extent.top - extent.bottom;
    if (!(width > 0 && height > 0) || bound.isEmpty())
        return bound.expandedTo(QSize(1, 1));
    const double scale = placement == Placement::Fit
        ? std::min(bound.width() / width, bound.height() / height)
        : pictureDotsPerInch / plotUnitsPerInch;
    // Clamp in double first: a huge plot at actual size must not overflow int.
    const auto pixels
        = [](double length, int limit) { return int(std::lround(std::clamp(length, 1.0, double(limit)))); };
    return QSize(pixels(width * scale, bound.width()), pixels(height * scale, bound.height()));
}

QImage renderPlotPicture(const Page &page, QSize bound, const RenderOptions &options, bool *fewerChords)
{
    // A page of raster images is drawn into three bytes a pixel: drawing it costs about the same,
    // and the picture takes a quarter less memory beside the images, which may be scanned pages.
    const QImage::Format format = page.images.empty() ? QImage::Format_RGB32 : QImage::Format_RGB888;
    QImage picture(plotPictureSize(pageExtent(page), bound, options.placement), format);
    const int dotsPerMeter = int(std::lround(pictureDotsPerInch / 0.0254));
    picture.setDotsPerMeterX(dotsPerMeter);
    picture.setDotsPerMeterY(dotsPerMeter);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool fewer = PlotRenderer(options).render(painter, page, QRectF(picture.rect()));
    if (fewerChords)
        *fewerChords = fewer;
    return picture;
}

QString fewerChordsWarning()
{
    return QStringLiteral("some arcs and circles are drawn with fewer segments than the plot asks for, "
                          "as finer ones would not show at this resolution");
}

} // namespace plotviewer
