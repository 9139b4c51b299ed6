#pragma once

#include <QBrush>
#include <QPointF>

#include <vector>

class QPainter;
class QPainterPath;

namespace plotviewer {

/// Fills large outlines on a picture in bands of whole pixel rows. Qt's anti-aliasing rasteriser
/// goes over the whole outline once for every band of rows its fixed memory holds, and the denser
/// the outline the thinner those bands: a fill or a wide line of many thousand points costs time
/// that grows with the square of its size. Cut along pixel-row boundaries, no pixel lies in two
/// pieces, so the picture comes out the same.
class BandedFill
{
public:
    using Contours = std::vector<std::vector<QPointF>>;

    /// Whether `painter` paints a picture pixel for pixel, where cutting along rows is exact.
    static bool suits(const QPainter &painter);
    /// Whether an outline of `points` points is large enough to be worth cutting.
    static bool worthCutting(std::size_t points);

    /// Adds `contour` (not empty) to `path` as a closed subpath.
    static void addContour(QPainterPath &path, const std::vector<QPointF> &contour);

    /// Fills `contours` (each closed implicitly) under `rule`. Consumes `contours`.
    static void fill(QPainter &painter, Contours &contours, Qt::FillRule rule, const QBrush &brush);
};

} // namespace plotviewer
