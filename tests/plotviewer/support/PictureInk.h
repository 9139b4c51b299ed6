#pragma once
// What a rendered or printed picture holds: how much is inked, where, and whether in colour.

#include <QImage>
#include <QRect>

namespace plotviewer::test {

/// Pixels darker than this count as ink (0 black .. 255 white, by lightness).
inline constexpr int inkLightness = 250;

int inkedPixelCount(const QImage &picture);
/// The smallest rectangle holding every inked pixel; null when nothing is inked.
QRect inkBounds(const QImage &picture);
/// Pixels whose red, green and blue differ by more than `tolerance`.
int colouredPixelCount(const QImage &picture, int tolerance = 8);

} // namespace plotviewer::test
