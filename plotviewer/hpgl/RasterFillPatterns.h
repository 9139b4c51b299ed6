#pragma once
// The user raster fill patterns of RF, kept as how many cells each pen number paints: a device
// paints one pattern cell per dot, so at preview and print sizes a pattern shows as its tint.

#include "plotviewer/model/DisplayList.h"

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace plotviewer::hpgl {

class RasterFillPatterns
{
public:
    static constexpr int patternCount = 8;
    static constexpr int maxSide = 255; // cells

    /// RF index[,width,height,pen...]: defines a pattern, or with the index alone forgets it; with
    /// no parameters forgets all. False (nothing changed) for invalid values.
    bool define(const std::vector<double> &n);
    void reset();

    /// The average colour of pattern `index`: cells of pen 0 white, the others in
    /// `penColour(number)`. nullopt when the pattern is not defined (a solid fill).
    template<typename PenColour> std::optional<Rgb> tint(int index, PenColour &&penColour) const
    {
        if (index < 1 || index > patternCount)
            return std::nullopt;
        const Pattern &pattern = m_patterns[static_cast<std::size_t>(index - 1)];
        if (pattern.cells == 0)
            return std::nullopt;
        double sum[3] = { 0, 0, 0 };
        for (const auto &[pen, count] : pattern.cellsPerPen) {
            const Rgb colour = pen == 0 ? Rgb { 255, 255, 255 } : penColour(pen);
            sum[0] += double(colour.r) * count;
            sum[1] += double(colour.g) * count;
            sum[2] += double(colour.b) * count;
        }
        return average(sum, pattern.cells);
    }

private:
    struct Pattern
    {
        std::vector<std::pair<int, int>> cellsPerPen; // pen number, cells
        int cells = 0; // 0 = not defined
    };

    static Rgb average(const double (&sum)[3], int cells);

    std::array<Pattern, patternCount> m_patterns;
};

} // namespace plotviewer::hpgl
