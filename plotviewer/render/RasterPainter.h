#pragma once
// Draws a page's raster images in the colour mode. Reduced onto a picture, an image is averaged
// down to the pixels it covers first; on other devices (PDF, printers) it goes at full resolution.

#include "ColourMode.h"
#include "PageTransform.h"

#include <QImage>

class QPainter;

namespace plotviewer {

class RasterPainter
{
public:
    RasterPainter(const PageTransform &transform, ColourMode mode);

    void paint(QPainter &painter, const RasterImage &image) const;

    /// The image's pixels in the colour mode, as a QImage; white is transparent where the image
    /// says so. Shares the image's memory where no colour changes.
    QImage fullImage(const RasterImage &image) const;
    /// The image averaged down to `size` pixels, each at most the image's own size.
    QImage reducedImage(const RasterImage &image, QSize size) const;

private:
    QRgb pixelColour(const RasterImage &image, const std::vector<QRgb> &palette, std::uint32_t x,
        const std::uint8_t *row) const;
    std::vector<QRgb> devicePalette(const RasterImage &image) const;
    QRgb deviceRgb(Rgb colour, bool transparentWhite) const;

    const PageTransform &m_transform;
    ColourMode m_mode;
};

} // namespace plotviewer
