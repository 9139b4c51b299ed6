#include "RasterPainter.h"

#include "plotviewer/model/Geometry.h"

#include <QPaintEngine>
#include <QPainter>
#include <QTransform>

#include <cmath>

namespace plotviewer {

namespace {

constexpr std::uint32_t blendSteps = 255;

// The colour table of a reduced two-colour image: entry k holds k / blendSteps of `ink` over
// `paper`, mixed as premultiplied colours are, and stored unpremultiplied as colour tables are.
QList<QRgb> blends(QRgb paper, QRgb ink)
{
    QList<QRgb> table;
    for (std::uint32_t k = 0; k <= blendSteps; ++k) {
        const auto mix = [&](int shift) {
            const auto channel = [shift](QRgb c) { return (c >> shift) & 0xffu; };
            return int((channel(ink) * k + channel(paper) * (blendSteps - k)) / blendSteps);
        };
        table.append(qUnpremultiply(qRgba(mix(16), mix(8), mix(0), mix(24))));
    }
    return table;
}

} // namespace

RasterPainter::RasterPainter(const PageTransform &transform, ColourMode mode, const QRectF &visible)
    : m_transform(transform)
    , m_mode(mode)
    , m_visible(visible)
{ }

QRgb RasterPainter::deviceRgb(Rgb colour, bool transparentWhite) const
{
    if (transparentWhite && colour == white)
        return 0; // transparent, premultiplied
    return plotviewer::deviceRgb(colour, m_mode);
}

std::vector<QRgb> RasterPainter::devicePalette(const RasterImage &image) const
{
    std::vector<QRgb> palette(image.format == RasterFormat::Bitmap ? 2 : 256, qRgb(0, 0, 0));
    for (std::size_t i = 0; i < palette.size() && i < image.palette.size(); ++i)
        palette[i] = deviceRgb(image.palette[i], image.whiteIsTransparent);
    return palette;
}

QRgb RasterPainter::pixelColour(const RasterImage &image, const std::vector<QRgb> &palette, std::uint32_t x,
    const std::uint8_t *row) const
{
    switch (image.format) {
    case RasterFormat::Bitmap:
        return palette[(row[x / 8] >> (7 - x % 8)) & 1];
    case RasterFormat::Indexed:
        return palette[row[x]];
    case RasterFormat::Rgb:
        break;
    }
    const std::uint8_t *p = row + std::size_t(x) * 3;
    if (m_mode == ColourMode::Colour && !(image.whiteIsTransparent && (p[0] & p[1] & p[2]) == 255))
        return qRgb(p[0], p[1], p[2]);
    return deviceRgb({ p[0], p[1], p[2] }, image.whiteIsTransparent);
}

QImage RasterPainter::fullImage(const RasterImage &image, QRect part) const
{
    const int width = int(image.width);
    const int height = int(image.height);
    const QRect whole(0, 0, width, height);
    part = part.isNull() ? whole : part.intersected(whole);
    const auto stride = qsizetype(image.bytesPerRow());
    const std::vector<QRgb> palette = devicePalette(image);
    const auto cut = [&](const QImage &shared) { return part == whole ? shared : shared.copy(part); };
    if (image.format != RasterFormat::Rgb) {
        QImage shared(image.pixels.data(), width, height, stride,
            image.format == RasterFormat::Bitmap ? QImage::Format_Mono : QImage::Format_Indexed8);
        shared.setColorTable(QList<QRgb>(palette.begin(), palette.end()));
        return cut(shared);
    }
    if (m_mode == ColourMode::Colour && !image.whiteIsTransparent)
        return cut(QImage(image.pixels.data(), width, height, stride, QImage::Format_RGB888));
    QImage converted(part.size(), QImage::Format_ARGB32_Premultiplied);
    if (converted.isNull())
        return converted;
    for (int y = 0; y < part.height(); ++y) {
        const std::uint8_t *row = image.pixels.data() + std::size_t(part.top() + y) * std::size_t(stride);
        auto *out = reinterpret_cast<QRgb *>(converted.scanLine(y));
        for (int x = 0; x < part.width(); ++x)
            out[x] = pixelColour(image, palette, std::uint32_t(part.left() + x), row);
    }
    return converted;
}

QRect RasterPainter::visiblePart(const RasterImage &image, const QTransform &toDevice) const
{
    const QRect whole(0, 0, int(image.width), int(image.height));
    bool invertible = false;
    const QTransform toImage = toDevice.inverted(&invertible);
    if (m_visible.isNull() || !invertible)
        return whole;
    // Cut in floating point first: a nearly flat image maps the visible area beyond int's range.
    const QRectF seen = toImage.mapRect(m_visible).intersected(QRectF(whole));
    return seen.isEmpty() ? QRect() : seen.toAlignedRect().adjusted(-1, -1, 1, 1).intersected(whole);
}

QImage RasterPainter::reducedImage(const RasterImage &image, QSize size) const
{
    // A two-colour image averages to blends of its two colours: one byte a pixel holds them, a
    // quarter of the memory of full colour.
    const bool twoColours = image.format == RasterFormat::Bitmap;
    QImage reduced(size, twoColours ? QImage::Format_Indexed8 : QImage::Format_ARGB32_Premultiplied);
    if (reduced.isNull() || image.width == 0 || image.height == 0)
        return reduced;
    const std::vector<QRgb> palette = devicePalette(image);
    if (twoColours)
        reduced.setColorTable(blends(palette[0], palette[1]));
    const std::size_t width = std::size_t(size.width());
    const std::size_t stride = image.bytesPerRow();
    // Every source pixel adds to the one target pixel it falls in: an area average. Source row y
    // falls in target row y * height / image height.
    const auto firstSourceRow = [&](int row) {
        return std::uint32_t((std::uint64_t(row) * image.height + std::uint64_t(size.height()) - 1)
            / std::uint64_t(size.height()));
    };
    std::vector<std::uint32_t> sums(width * 4);
    std::vector<std::uint32_t> counts(width);
    std::vector<std::uint32_t> column(image.width);
    for (std::uint32_t x = 0; x < image.width; ++x)
        column[x] = std::uint32_t(std::size_t(x) * width / image.width);
    for (int row = 0; row < size.height(); ++row) {
        const std::uint32_t end = std::min(firstSourceRow(row + 1), image.height);
        for (std::uint32_t y = firstSourceRow(row); y < end; ++y) {
            const std::uint8_t *source = image.pixels.data() + std::size_t(y) * stride;
            if (image.format == RasterFormat::Bitmap) {
                // Two colours: counting the set bits is enough, and far quicker.
                for (std::uint32_t x = 0; x < image.width; ++x) {
                    sums[4 * std::size_t(column[x])] += (source[x / 8] >> (7 - x % 8)) & 1;
                    ++counts[column[x]];
                }
                continue;
            }
            for (std::uint32_t x = 0; x < image.width; ++x) {
                const QRgb colour = pixelColour(image, palette, x, source);
                std::uint32_t *sum = &sums[4 * std::size_t(column[x])];
                sum[0] += qRed(colour);
                sum[1] += qGreen(colour);
                sum[2] += qBlue(colour);
                sum[3] += qAlpha(colour);
                ++counts[column[x]];
            }
        }
        if (twoColours) {
            std::uint8_t *out = reduced.scanLine(row);
            for (std::size_t x = 0; x < width; ++x) {
                const std::uint32_t n = std::max<std::uint32_t>(counts[x], 1);
                out[x] = std::uint8_t((sums[4 * x] * blendSteps + n / 2) / n);
            }
        } else {
            auto *out = reinterpret_cast<QRgb *>(reduced.scanLine(row));
            for (std::size_t x = 0; x < width; ++x) {
                const std::uint32_t n = std::max<std::uint32_t>(counts[x], 1);
                out[x] = qRgba(int(sums[4 * x] / n), int(sums[4 * x + 1] / n), int(sums[4 * x + 2] / n),
                    int(sums[4 * x + 3] / n));
            }
        }
        std::fill(sums.begin(), sums.end(), 0u);
        std::fill(counts.begin(), counts.end(), 0u);
    }
    return reduced;
}

void RasterPainter::paint(QPainter &painter, const RasterImage &image) const
{
    if (image.width == 0 || image.height == 0)
        return;
    const QPointF origin = m_transform.map(image.origin);
    const QPointF across = m_transform.map(add(image.origin, image.across)) - origin;
    const QPointF down = m_transform.map(add(image.origin, image.down)) - origin;
    const QTransform toDevice(across.x(), across.y(), down.x(), down.y(), origin.x(), origin.y());
    const double columnsPerPixel = std::hypot(across.x(), across.y());
    const double rowsPerPixel = std::hypot(down.x(), down.y());
    const bool reduced = columnsPerPixel < 1 || rowsPerPixel < 1;
    painter.save();
    const bool picture = painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster;
    if (picture && reduced) {
        const QSize size(
            std::clamp(int(std::ceil(image.width * std::min(columnsPerPixel, 1.0))), 1, int(image.width)),
            std::clamp(int(std::ceil(image.height * std::min(rowsPerPixel, 1.0))), 1, int(image.height)));
        painter.setTransform(
            QTransform::fromScale(double(image.width) / size.width(), double(image.height) / size.height())
                * toDevice,
            true);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QPointF(0, 0), reducedImage(image, size));
    } else if (const QRect part = visiblePart(image, toDevice); !part.isEmpty()) {
        painter.setTransform(toDevice, true);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, reduced);
        painter.drawImage(QPointF(part.topLeft()), fullImage(image, part));
    }
    painter.restore();
}

} // namespace plotviewer
