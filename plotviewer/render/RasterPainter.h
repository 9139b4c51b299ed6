#pragma once
// Draws a page's raster images in the colour mode. Reduced onto a picture, an image is averaged
// down to the pixels it covers first; on other devices (PDF, printers) it goes at full resolution,
// cut to the part that can be seen, so that a sheet showing a corner of a drawing does not carry
// the whole image.

#include "ColourMode.h"
#include "PageTransform.h"

#include <QImage>
#include <QRectF>

class QPainter;

namespace plotviewer {

class RasterPainter
{
public:
    /// Images are cut to `visible` (painter coordinates) where they are drawn at full resolution;
    /// a null rectangle shows them whole.
    RasterPainter(const PageTransform &transform, ColourMode mode, const QRectF &visible = QRectF());

    void paint(QPainter &painter, const RasterImage &image) const;

    /// The image's pixels in the colour mode, as a QImage; white is transparent where the image
    /// says so. Shares the image's memory where no colour changes and `part` is the whole image.
    QImage fullImage(const RasterImage &image, QRect part = QRect()) const;
    /// The image averaged down to `size` pixels, each at most the image's own size.
    QImage reducedImage(const RasterImage &image, QSize size) const;

private:
    /// The pixels of `image` that can land within the visible rectangle, with a pixel to spare for
    /// smoothing; the whole image when all of it may be seen.
    QRect visiblePart(const RasterImage &image, const QTransform &toDevice) const;
    QRgb pixelColour(const RasterImage &image, const std::vector<QRgb> &palette, std::uint32_t x,
        const std::uint8_t *row) const;
    std::vector<QRgb> devicePalette(const RasterImage &image) const;
    QRgb deviceRgb(Rgb colour, bool transparentWhite) const;

    const PageTransform &m_transform;
    ColourMode m_mode;
    QRectF m_visible;
};

} // namespace plotviewer
