#pragma once

#include "plotviewer/model/PlotUnits.h"

#include <QByteArray>
#include <QPaintDevice>
#include <QSizeF>

#include <memory>

class QColor;

namespace plotviewer {

class SvgPaintEngine;

/// A paint device whose painting becomes an SVG 1.1 document that other programs read and edit:
/// lines as stroked paths with the pens' widths, areas as filled paths, hatching as stroked paths
/// already clipped to their area, raster images as embedded PNG pictures, and the marks grouped in
/// drawing order into layers, one for each run of one pen. Device units are hundredths of a
/// millimetre; hairlines stay one pixel wide at any scale.
class SvgCanvas : public QPaintDevice
{
public:
    /// Units of the device to a millimetre, and the resolution they make.
    static constexpr double unitsPerMillimetre = 100;
    static constexpr double dotsPerInch = unitsPerMillimetre * millimetresPerInch;

    SvgCanvas(QSizeF millimetres, const QString &title);
    ~SvgCanvas() override;

    QPaintEngine *paintEngine() const override;
    /// Starts a layer for the marks of `pen` (0 for marks of no pen) drawn in `colour`; those that
    /// follow are painted into it until the next layer starts.
    void startLayer(int pen, const QColor &colour);
    /// The document, whole once painting has ended.
    QByteArray document() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSizeF m_millimetres;
    std::unique_ptr<SvgPaintEngine> m_engine;
};

} // namespace plotviewer
