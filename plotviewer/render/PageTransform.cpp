#include "PageTransform.h"

#include "plotviewer/model/PlotUnits.h"

#include <algorithm>

namespace plotviewer {

PageTransform::PageTransform(const Rect &source, const QRectF &target, double scaleX, double scaleY)
    : m_scaleX(scaleX)
    , m_scaleY(scaleY)
{
    // Centre the source on the target.
    const QPointF centre = target.center();
    m_offsetX = centre.x() - scaleX * (source.left + source.right) / 2;
    m_offsetY = centre.y() + scaleY * (source.bottom + source.top) / 2;
}

PageTransform PageTransform::fit(const Rect &source, const QRectF &target, QSizeF dotsPerInch)
{
    const double width = source.right - source.left;
    const double height = source.top - source.bottom;
    if (!(width > 0 && height > 0) || target.isEmpty())
        return PageTransform(source, target, 0, 0);
    // Compare in inches so that non-square device pixels keep the plot's shape.
    const double yPerX = dotsPerInch.height() / dotsPerInch.width();
    const double scaleX = std::min(target.width() / width, target.height() / (height * yPerX));
    return PageTransform(source, target, scaleX, scaleX * yPerX);
}

PageTransform PageTransform::actualSize(const Rect &source, const QRectF &target, QSizeF dotsPerInch)
{
    return PageTransform(
        source, target, dotsPerInch.width() / plotUnitsPerInch, dotsPerInch.height() / plotUnitsPerInch);
}

PageTransform PageTransform::place(
    Placement placement, const Rect &source, const QRectF &target, QSizeF dotsPerInch)
{
    return placement == Placement::Fit ? fit(source, target, dotsPerInch)
                                       : actualSize(source, target, dotsPerInch);
}

double PageTransform::penWidth(double plotUnits) const
{
    constexpr double widestHairline = 1.25;
    const double width = mapLength(plotUnits);
    return width <= widestHairline ? 0 : width;
}

Rect PageTransform::mapToPlot(const QRectF &device) const
{
    if (m_scaleX <= 0 || m_scaleY <= 0)
        return {};
    return { (device.left() - m_offsetX) / m_scaleX, (m_offsetY - device.bottom()) / m_scaleY,
        (device.right() - m_offsetX) / m_scaleX, (m_offsetY - device.top()) / m_scaleY };
}

} // namespace plotviewer
