#include "FillAttributes.h"

#include "PclAreaFill.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace plotviewer::hpgl {

void FillAttributes::setFillType(const std::vector<double> &n)
{
    const double type = n.empty() ? 1 : std::round(n[0]);
    if (!std::isfinite(type))
        return;
    m_fixedHatchSpacing = 0;
    if (type == 1 || type == 2) {
        m_kind = FillKind::Solid;
    } else if (type == 11) {
        if (n.size() > 1 && std::isfinite(n[1]))
            m_rasterIndex = static_cast<int>(std::round(std::clamp(n[1], 0.0, 99.0)));
        if (n.size() > 2 && std::isfinite(n[2]))
            m_rasterInCurrentPen = std::round(n[2]) == 1;
        m_kind = FillKind::RasterPattern;
    } else if (type == 22) {
        m_kind = FillKind::PclPattern;
    } else if (type == 3 || type == 4) {
        if (n.size() > 1 && !(n[1] >= 0))
            return;
        auto &[spacing, angle] = m_hatchOptions[static_cast<int>(type)];
        if (n.size() > 1 && std::isfinite(n[1]))
            spacing = n[1];
        if (n.size() > 2 && std::isfinite(n[2]))
            angle = n[2];
        m_kind = type == 3 ? FillKind::Hatch : FillKind::CrossHatch;
        m_hatchSpacing = spacing;
        m_angle = angle;
    } else if (type == 10) {
        if (n.size() > 1 && std::isfinite(n[1]))
            m_shadingLevel = std::clamp(n[1], 0.0, 100.0);
        m_kind = FillKind::Shading;
    } else if (type == 21) {
        const PclCrossHatch hatch
            = pclCrossHatch(static_cast<int>(std::clamp(n.size() > 1 ? n[1] : 1, 1.0, 6.0)));
        m_kind = hatch.pattern == FillPattern::CrossHatch ? FillKind::CrossHatch : FillKind::Hatch;
        m_angle = hatch.angle;
        m_fixedHatchSpacing = PclCrossHatch::spacing;
    }
}

double FillAttributes::hatchSpacing(const CoordinateSystem &coords, double deviceScale) const
{
    if (m_fixedHatchSpacing > 0)
        return m_fixedHatchSpacing * deviceScale;
    if (m_hatchSpacing == 0)
        return coords.diagonal() / 100 * deviceScale;
    return m_hatchSpacing * std::abs(coords.userScale().x) * deviceScale;
}

FillStyle FillAttributes::fillStyle(
    FillRule rule, const PenPalette &pens, int pen, const CoordinateSystem &coords, double deviceScale) const
{
    FillStyle style;
    style.pen = pen;
    style.colour = pens.colour(pen);
    style.rule = rule;
    if (m_kind == FillKind::Shading)
        style.tint = m_shadingLevel;
    if (m_kind == FillKind::RasterPattern) {
        // Devices paint a pattern cell per dot, so what shows is its tint.
        const auto tint = m_rasterPatterns.tint(m_rasterIndex, [&](int cellPen) {
            return m_rasterInCurrentPen ? style.colour : pens.colour(std::max(pens.resolve(cellPen), 0));
        });
        if (tint) {
            style.colour = tint->ink;
            style.tint = tint->level;
        }
    }
    // The PCL pattern itself is not kept; an unknown pattern drawn half tone hides less than a
    // solid area would, and still reads as a filled shape.
    if (m_kind == FillKind::PclPattern)
        style.tint = 50;
    if (m_kind == FillKind::Hatch || m_kind == FillKind::CrossHatch) {
        style.pattern = m_kind == FillKind::Hatch ? FillPattern::Hatch : FillPattern::CrossHatch;
        style.hatchSpacing = hatchSpacing(coords, deviceScale);
        const Point direction = coords.rotatedToOutput().mapVector({ 1, 0 });
        style.hatchAngle = m_angle + std::atan2(direction.y, direction.x) * 180 / std::numbers::pi;
        style.hatchAnchor = m_anchor;
        style.hatchLineWidth = pens.width(pen, coords.diagonal()) * deviceScale;
    }
    return style;
}

} // namespace plotviewer::hpgl
