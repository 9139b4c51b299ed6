#pragma once
// PCL's rectangular area fills (ESC*c#A/B/H/V, #G, #P) and the patterns they paint with: shading
// levels, the six cross-hatch patterns and user patterns (ESC*c#W). A device prints a pattern dot
// by dot, so a user pattern is kept as the share of its cells that are inked.

#include "plotviewer/model/DisplayList.h"
#include "plotviewer/model/PlotUnits.h"

#include <cstdint>
#include <map>
#include <optional>
#include <span>

namespace plotviewer::hpgl {

/// One of PCL's cross-hatch patterns (1 to 6) as hatching: its lines, their angle and spacing.
struct PclCrossHatch
{
    FillPattern pattern = FillPattern::Hatch;
    double angle = 0; // degrees counter-clockwise from +x
    static constexpr double spacing = 0.03 * plotUnitsPerInch;
};
PclCrossHatch pclCrossHatch(int pattern);

class PclAreaFill
{
public:
    static constexpr std::size_t mostPatterns = 256;

    /// ESC E: no rectangle size, area fill 0, no user patterns, solid current pattern.
    void reset() { *this = {}; }
    /// ESC*c#A/B/H/V, in plot units; negative sizes are ignored.
    void setWidth(double width);
    void setHeight(double height);
    /// ESC*c#G
    void setAreaFill(double id) { m_areaFill = id; }
    /// ESC*c#W with the area fill as its ID; false, keeping nothing, for data that is no pattern.
    bool definePattern(std::span<const std::uint8_t> data);
    /// ESC*v#T: the pattern that ESC*c5P fills with, from the area fill as it is now.
    void selectCurrentPattern(double type);

    struct Rectangle
    {
        Rect area;
        FillStyle style;
    };
    /// ESC*c#P: the rectangle from `topLeft` along the cursor's `right` and `down` (one unit long,
    /// along the page's axes), cut to `page` when that is not empty. Nothing for an empty
    /// rectangle, an unknown fill or an undefined user pattern.
    std::optional<Rectangle> fill(
        double type, Point topLeft, Point right, Point down, const Rect &page) const;

private:
    std::optional<FillStyle> style(int type, double id) const;

    double m_width = 0;
    double m_height = 0;
    double m_areaFill = 0;
    int m_currentType = 0;
    double m_currentId = 0;
    std::map<int, double> m_patternTints; // user pattern ID to percent inked
};

} // namespace plotviewer::hpgl
