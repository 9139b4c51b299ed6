#pragma once

#include "plotviewer/model/DisplayList.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace plotviewer {

enum class Placement { Fit, ActualSize };

/// Maps plot units (+y up) to device coordinates (+y down); the one place where y flips.
class PageTransform
{
public:
    /// `source` scaled as large as fits into `target`, keeping its shape on paper, centred.
    /// `dotsPerInch` only gives the device's pixel shape here.
    static PageTransform fit(const Rect &source, const QRectF &target, QSizeF dotsPerInch);
    /// `source` at 1016 plot units to the inch, centred on `target`.
    static PageTransform actualSize(const Rect &source, const QRectF &target, QSizeF dotsPerInch);
    static PageTransform place(
        Placement placement, const Rect &source, const QRectF &target, QSizeF dotsPerInch);

    QPointF map(Point p) const { return { m_offsetX + m_scaleX * p.x, m_offsetY - m_scaleY * p.y }; }
    /// The plot-unit rectangle that lands on `device`.
    Rect mapToPlot(const QRectF &device) const;
    /// A length such as a line width, in device units.
    double mapLength(double plotUnits) const { return plotUnits * (m_scaleX + m_scaleY) / 2; }
    /// The QPen width for a line `plotUnits` wide: 0, a hairline one device pixel wide, for lines
    /// up to a quarter pixel wider, where the difference is hardly seen and Qt draws far faster.
    double penWidth(double plotUnits) const;
    double scaleX() const { return m_scaleX; }
    double scaleY() const { return m_scaleY; }

private:
    PageTransform(const Rect &source, const QRectF &target, double scaleX, double scaleY);

    double m_scaleX = 1;
    double m_scaleY = 1;
    double m_offsetX = 0;
    double m_offsetY = 0;
};

} // namespace plotviewer
