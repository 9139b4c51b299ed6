#pragma once
// How polygons are filled (FT, RF, AC, TR), with their defaults; DF and IN restore them by
// assigning a default-constructed object.

#include "CoordinateSystem.h"
#include "PenPalette.h"
#include "RasterFillPatterns.h"

#include <map>
#include <vector>

namespace plotviewer::hpgl {

class FillAttributes
{
public:
    /// FT
    void setFillType(const std::vector<double> &n);
    /// RF: a pattern for fill type 11.
    void defineRasterPattern(const std::vector<double> &n) { m_rasterPatterns.define(n); }
    /// AC: the point hatch lines pass through, in output units.
    void setAnchor(Point anchor) { m_anchor = anchor; }
    /// TR: whether white is transparent.
    void setTransparent(bool transparent) { m_transparent = transparent; }
    bool transparent() const { return m_transparent; }

    /// The fill of a polygon in pen `pen`; `deviceScale` is the PCL plot-size scale.
    FillStyle fillStyle(FillRule rule, const PenPalette &pens, int pen, const CoordinateSystem &coords,
        double deviceScale) const;

private:
    enum class FillKind : unsigned char { Solid, Hatch, CrossHatch, Shading, RasterPattern, PclPattern };

    double hatchSpacing(const CoordinateSystem &coords, double deviceScale) const;

    FillKind m_kind = FillKind::Solid;
    double m_angle = 0;
    std::map<int, std::pair<double, double>> m_hatchOptions; // per FT type: spacing, angle
    double m_hatchSpacing = 0; // current units, 0 = 1% of the P1-P2 diagonal
    double m_fixedHatchSpacing = 0; // plot units, for the PCL patterns; 0 = none
    double m_shadingLevel = 100;
    RasterFillPatterns m_rasterPatterns;
    int m_rasterIndex = 1; // FT11 pattern
    bool m_rasterInCurrentPen = false;
    Point m_anchor;
    bool m_transparent = true;
};

} // namespace plotviewer::hpgl
