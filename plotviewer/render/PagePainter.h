#pragma once

#include "DeviceClipper.h"
#include "FillPainter.h"
#include "LabelPainter.h"
#include "PageTransform.h"
#include "RasterPainter.h"
#include "RenderOptions.h"
#include "StrokeBatch.h"

#include <QColor>
#include <QPen>

#include <vector>

class QPainter;

namespace plotviewer {

/// Paints one page's items in order, for one render call.
class PagePainter
{
public:
    PagePainter(QPainter &painter, const Page &page, const PageTransform &transform, const QRectF &visible,
        const RenderOptions &options, OutlineFont &outlineFont);

    void paint();

private:
    static QRectF clipBounds(const Page &page, const PageTransform &transform, const QRectF &visible);
    QPen pen(const StrokeStyle &style) const;
    void paintStroke(const Item &item);
    void paintText(const Item &item);
    /// Tells penStarting of `item`'s pen when it is not the pen of the item before.
    void notePen(const Item &item);

    QPainter &m_painter;
    const Page &m_page;
    const PageTransform &m_transform;
    ColourMode m_colourMode;
    DeviceClipper m_clipper;
    StrokeBatch m_strokes;
    FillPainter m_fills;
    LabelPainter m_labels;
    RasterPainter m_images;
    std::function<void(int pen, const QColor &colour)> m_penStarting;
    int m_lastPen = -1;
    std::vector<QPen> m_pens;
    std::vector<QPointF> m_points;
};

} // namespace plotviewer
