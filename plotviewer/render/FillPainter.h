#pragma once

#include "DeviceClipper.h"
#include "PageTransform.h"
#include "PolylineReduction.h"
#include "plotviewer/model/DisplayList.h"

#include <QColor>
#include <QPainterPath>

#include <vector>

class QPainter;

namespace plotviewer {

/// Paints the filled items of a page: solid areas, and hatch or cross-hatch lines through the
/// style's anchor, inside the area under its fill rule.
class FillPainter
{
public:
    FillPainter(const PageTransform &transform, const DeviceClipper &clipper);

    void paint(
        QPainter &painter, const Page &page, const Item &item, const FillStyle &style, const QColor &colour);

private:
    /// Visits the item's polygons in device coordinates, clipped, and gives its plot-unit bounds
    /// for hatching.
    template<typename Visit>
    void forEachPolygon(const Page &page, const Item &item, Rect *plotBounds, Visit visit);
    void paintHatch(QPainter &painter, const QPainterPath &area, const Rect &plotBounds,
        const FillStyle &style, const QColor &colour);
    /// False when the lines would be too many to be worth drawing one by one.
    bool addHatchLines(const Rect &plotBounds, const FillStyle &style, double angleDegrees);

    const PageTransform &m_transform;
    const DeviceClipper &m_clipper;
    StraightRunReduction m_straightRuns;
    std::vector<QPointF> m_polygon;
    std::vector<QLineF> m_hatchLines;
};

} // namespace plotviewer
