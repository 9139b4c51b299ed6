#include "FillPainter.h"

#include "BandedFill.h"
#include "PageSpans.h"
#include "plotviewer/model/Geometry.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace plotviewer {

namespace {

// Hatch lines closer than this many device pixels read as a solid area; painting them would
// only cost time.
constexpr double minimumHatchSpacing = 2;
constexpr double maximumHatchLines = 20000;

} // namespace

FillPainter::FillPainter(const PageTransform &transform, const DeviceClipper &clipper)
    : m_transform(transform)
    , m_clipper(clipper)
    , m_straightRuns(areaEdgeTolerance)
{ }

void FillPainter::paint(
    QPainter &painter, const Page &page, const Item &item, const FillStyle &style, const QColor &colour)
{
    const Qt::FillRule rule = style.rule == FillRule::NonZero ? Qt::WindingFill : Qt::OddEvenFill;
    const double spacing = m_transform.mapLength(style.hatchSpacing);
    const bool solid = style.pattern == FillPattern::Solid || !(spacing >= minimumHatchSpacing);
    // Counted only where a banded fill could follow: not for a hatch, nor on a PDF or a printer.
    const auto pointCount = [&] {
        std::size_t points = 0;
        for (const PathSpan &path : itemPaths(page, item))
            points += path.count;
        return points;
    };
    Rect plotBounds;
    if (solid && BandedFill::suits(painter) && BandedFill::worthCutting(pointCount())) {
        BandedFill::Contours contours;
        forEachPolygon(page, item, &plotBounds,
            [&](const std::vector<QPointF> &polygon) { contours.push_back(polygon); });
        BandedFill::fill(painter, contours, rule, colour);
        return;
    }
    QPainterPath area;
    area.setFillRule(rule);
    forEachPolygon(page, item, &plotBounds,
        [&](const std::vector<QPointF> &polygon) { BandedFill::addContour(area, polygon); });
    if (area.isEmpty())
        return;
    if (solid)
        painter.fillPath(area, colour);
    else
        paintHatch(painter, area, plotBounds, style, colour);
}

template<typename Visit>
void FillPainter::forEachPolygon(const Page &page, const Item &item, Rect *plotBounds, Visit visit)
{
    bool first = true;
    for (const PathSpan &path : itemPaths(page, item)) {
        m_polygon.clear();
        for (const Point &point : pathPoints(page, path)) {
            m_polygon.push_back(m_transform.map(point));
            if (first) {
                *plotBounds = { point.x, point.y, point.x, point.y };
                first = false;
            }
            plotBounds->left = std::min(plotBounds->left, point.x);
            plotBounds->right = std::max(plotBounds->right, point.x);
            plotBounds->bottom = std::min(plotBounds->bottom, point.y);
            plotBounds->top = std::max(plotBounds->top, point.y);
        }
        m_straightRuns.reduce(m_polygon, true);
        m_clipper.clipPolygon(m_polygon);
        if (m_polygon.size() >= 3)
            visit(m_polygon);
    }
}

void FillPainter::paintHatch(QPainter &painter, const QPainterPath &area, const Rect &plotBounds,
    const FillStyle &style, const QColor &colour)
{
    const Rect visible = intersected(plotBounds, m_transform.mapToPlot(m_clipper.bounds()));
    m_hatchLines.clear();
    const bool sparse = addHatchLines(visible, style, style.hatchAngle)
        && (style.pattern != FillPattern::CrossHatch || addHatchLines(visible, style, style.hatchAngle + 90));
    if (!sparse) {
        painter.fillPath(area, colour);
        return;
    }
    const QPen pen(colour, m_transform.penWidth(style.hatchLineWidth), Qt::SolidLine, Qt::FlatCap);
    painter.save();
    painter.setClipPath(area, Qt::IntersectClip);
    painter.setPen(pen);
    painter.drawLines(m_hatchLines.data(), int(m_hatchLines.size()));
    painter.restore();
}

bool FillPainter::addHatchLines(const Rect &plotBounds, const FillStyle &style, double angleDegrees)
{
    if (plotBounds.isEmpty() || !(style.hatchSpacing > 0))
        return true;
    const double angle = angleDegrees * std::numbers::pi / 180;
    const Point along { std::cos(angle), std::sin(angle) };
    const Point across { -along.y, along.x };
    // Measure the bounds' corners from the anchor, along and across the hatch lines.
    double acrossMin = qInf(), acrossMax = -qInf(), alongMin = qInf(), alongMax = -qInf();
    for (const Point corner :
        { Point { plotBounds.left, plotBounds.bottom }, Point { plotBounds.right, plotBounds.bottom },
            Point { plotBounds.left, plotBounds.top }, Point { plotBounds.right, plotBounds.top } }) {
        const double dx = corner.x - style.hatchAnchor.x;
        const double dy = corner.y - style.hatchAnchor.y;
        acrossMin = std::min(acrossMin, dx * across.x + dy * across.y);
        acrossMax = std::max(acrossMax, dx * across.x + dy * across.y);
        alongMin = std::min(alongMin, dx * along.x + dy * along.y);
        alongMax = std::max(alongMax, dx * along.x + dy * along.y);
    }
    const double first = std::ceil(acrossMin / style.hatchSpacing);
    const double last = std::floor(acrossMax / style.hatchSpacing);
    if (!(last - first < maximumHatchLines))
        return false;
    for (double k = first; k <= last; ++k) {
        const double offset = k * style.hatchSpacing;
        const Point base { style.hatchAnchor.x + offset * across.x, style.hatchAnchor.y + offset * across.y };
        QPointF a = m_transform.map({ base.x + alongMin * along.x, base.y + alongMin * along.y });
        QPointF b = m_transform.map({ base.x + alongMax * along.x, base.y + alongMax * along.y });
        if (m_clipper.clipSegment(a, b))
            m_hatchLines.emplace_back(a, b);
    }
    return true;
}

} // namespace plotviewer
