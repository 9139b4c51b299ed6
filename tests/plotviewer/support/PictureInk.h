#pragma once
// What a rendered or printed picture holds: how much is inked, where, and whether in colour.

#include <QImage>
#include <QRect>

#include <vector>

namespace plotviewer::test {

/// Pixels darker than this count as ink (0 black .. 255 white, by lightness).
inline constexpr int inkLightness = 250;

int inkedPixelCount(const QImage &picture);
/// Whether each pixel is inked, row by row.
std::vector<bool> inkMask(const QImage &picture);
/// The smallest rectangle holding every inked pixel; null when nothing is inked.
QRect inkBounds(const QImage &picture);
/// Pixels whose red, green and blue differ by more than `tolerance`.
int colouredPixelCount(const QImage &picture, int tolerance = 8);
/// The offset of `drawn` against `expected`, two profiles of how much ink each row or column holds,
/// that lines them up best: `start` give or take `most`.
int bestProfileOffset(const std::vector<long> &expected, const std::vector<long> &drawn, int start, int most);

} // namespace plotviewer::test
