#include "PictureInk.h"

#include <algorithm>

namespace plotviewer::test {

namespace {

template<typename Visit> void forEachPixel(const QImage &picture, Visit visit)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            visit(x, y, line[x]);
    }
}

bool isInk(QRgb pixel)
{
    return std::min({ qRed(pixel), qGreen(pixel), qBlue(pixel) }) < inkLightness;
}

} // namespace

int inkedPixelCount(const QImage &picture)
{
    int count = 0;
    forEachPixel(picture, [&](int, int, QRgb pixel) { count += isInk(pixel) ? 1 : 0; });
    return count;
}

QRect inkBounds(const QImage &picture)
{
    QRect bounds;
    forEachPixel(picture, [&](int x, int y, QRgb pixel) {
        if (isInk(pixel))
            bounds |= QRect(x, y, 1, 1);
    });
    return bounds;
}

int colouredPixelCount(const QImage &picture, int tolerance)
{
    int count = 0;
    forEachPixel(picture, [&](int, int, QRgb pixel) {
        const int spread = std::max({ qRed(pixel), qGreen(pixel), qBlue(pixel) })
            - std::min({ qRed(pixel), qGreen(pixel), qBlue(pixel) });
        count += spread > tolerance ? 1 : 0;
    });
    return count;
}

} // namespace plotviewer::test
