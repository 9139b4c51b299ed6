#include "PictureInk.h"

#include <algorithm>
#include <cstdlib>

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

std::vector<bool> inkMask(const QImage &picture)
{
    std::vector<bool> mask;
    mask.reserve(std::size_t(picture.width()) * std::size_t(picture.height()));
    forEachPixel(picture, [&](int, int, QRgb pixel) { mask.push_back(isInk(pixel)); });
    return mask;
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

int bestProfileOffset(const std::vector<long> &expected, const std::vector<long> &drawn, int start, int most)
{
    int best = start;
    long bestDistance = -1;
    for (int offset = start - most; offset <= start + most; ++offset) {
        long distance = 0;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const long j = long(i) + offset;
            distance
                += std::abs(expected[i] - (j >= 0 && j < long(drawn.size()) ? drawn[std::size_t(j)] : 0));
        }
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = offset;
        }
    }
    return best;
}

} // namespace plotviewer::test
