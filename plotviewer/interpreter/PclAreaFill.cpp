#include "PclAreaFill.h"

#include "plotviewer/model/Geometry.h"

#include <algorithm>
#include <cmath>

namespace plotviewer::hpgl {

namespace {

constexpr Rgb black {};

// The shading PCL prints for a requested level, in percent.
double shadingTint(double level)
{
    struct Step
    {
        double upTo;
        double tint;
    };
    static constexpr Step steps[] = { { 0, 0 }, { 2, 2 }, { 10, 10 }, { 20, 15 }, { 35, 30 }, { 55, 45 },
        { 80, 70 }, { 99, 90 }, { 100, 100 } };
    for (const Step &step : steps) {
        if (level <= step.upTo)
            return step.tint;
    }
    return 100;
}

} // namespace

PclCrossHatch pclCrossHatch(int pattern)
{
    // Horizontal, vertical, the two diagonals, and the square and diagonal grids.
    static constexpr double angles[] = { 0, 90, 45, 135, 0, 45 };
    const int index = std::clamp(pattern, 1, 6) - 1;
    return { index >= 4 ? FillPattern::CrossHatch : FillPattern::Hatch, angles[index] };
}

void PclAreaFill::setWidth(double width)
{
    if (width >= 0 && std::isfinite(width))
        m_width = width;
}

void PclAreaFill::setHeight(double height)
{
    if (height >= 0 && std::isfinite(height))
        m_height = height;
}

bool PclAreaFill::definePattern(std::span<const std::uint8_t> data)
{
    // Header: format, continuation, bits per pixel, reserved, height and width (two bytes each);
    // format 20 adds two resolutions before the rows.
    if (data.size() < 8 || !(m_areaFill >= 0 && m_areaFill <= 32767))
        return false;
    const int format = data[0];
    const int bits = data[2];
    const std::size_t height = std::size_t(data[4]) << 8 | data[5];
    const std::size_t width = std::size_t(data[6]) << 8 | data[7];
    const std::size_t header = format == 20 ? 12 : 8;
    if ((format != 0 && format != 1 && format != 20) || (bits != 1 && bits != 8) || width == 0 || height == 0)
        return false;
    const std::size_t rowBytes = (width * std::size_t(bits) + 7) / 8;
    if (data.size() < header + rowBytes * height)
        return false;
    const int id = static_cast<int>(m_areaFill);
    if (m_patternTints.size() >= mostPatterns && !m_patternTints.count(id))
        return false;
    std::size_t inked = 0;
    for (std::size_t row = 0; row < height; ++row) {
        const std::span<const std::uint8_t> bytes = data.subspan(header + row * rowBytes, rowBytes);
        for (std::size_t x = 0; x < width; ++x) {
            inked += bits == 1 ? (bytes[x / 8] >> (7 - x % 8)) & 1 : bytes[x] != 0;
        }
    }
    m_patternTints[id] = 100.0 * double(inked) / double(width * height);
    return true;
}

void PclAreaFill::selectCurrentPattern(double type)
{
    if (type >= 0 && type <= 4 && type == std::round(type)) {
        m_currentType = static_cast<int>(type);
        m_currentId = m_areaFill;
    }
}

std::optional<FillStyle> PclAreaFill::style(int type, double id) const
{
    FillStyle style;
    style.colour = black;
    switch (type) {
    case 0: // solid
        return style;
    case 1: // white, which covers what lies below
        style.colour = white;
        return style;
    case 2:
        style.tint = shadingTint(std::clamp(id, 0.0, 100.0));
        return style;
    case 3: {
        if (!(id >= 1 && id <= 6))
            return std::nullopt;
        const PclCrossHatch hatch = pclCrossHatch(static_cast<int>(id));
        style.pattern = hatch.pattern;
        style.hatchAngle = hatch.angle;
        style.hatchSpacing = PclCrossHatch::spacing;
        style.hatchLineWidth = plotUnitsPerInch / 300; // a dot
        return style;
    }
    case 4: {
        const auto found = m_patternTints.find(static_cast<int>(id));
        if (found == m_patternTints.end())
            return std::nullopt;
        style.tint = found->second;
        return style;
    }
    default:
        return std::nullopt;
    }
}

std::optional<PclAreaFill::Rectangle> PclAreaFill::fill(
    double type, Point topLeft, Point right, Point down, const Rect &page) const
{
    if (!(type >= 0 && type <= 5) || type != std::round(type))
        return std::nullopt;
    const std::optional<FillStyle> found
        = type == 5 ? style(m_currentType, m_currentId) : style(static_cast<int>(type), m_areaFill);
    const Point corner = add(add(topLeft, scaled(right, m_width)), scaled(down, m_height));
    Rect area { std::min(topLeft.x, corner.x), std::min(topLeft.y, corner.y), std::max(topLeft.x, corner.x),
        std::max(topLeft.y, corner.y) };
    if (!page.isEmpty())
        area = intersected(area, page);
    if (!found || area.isEmpty())
        return std::nullopt;
    return Rectangle { area, *found };
}

} // namespace plotviewer::hpgl
