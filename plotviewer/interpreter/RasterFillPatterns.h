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

    /// What a pattern shows at a device's dot size: the average colour of its inked cells, and
    /// those cells' share in percent (the tint). Cells of pen 0 or of a white pen leave the paper
    /// showing.
    struct Tint
    {
        Rgb ink;
        double level = 100;
    };

    /// The tint of pattern `index` with its cells in `penColour(number)`. nullopt when the pattern
    /// is not defined (a solid fill).
    template<typename PenColour> std::optional<Tint> tint(int index, PenColour &&penColour) const
    {
        if (index < 1 || index > patternCount)
            return std::nullopt;
        const Pattern &pattern = m_patterns[static_cast<std::size_t>(index - 1)];
        if (pattern.cells == 0)
            return std::nullopt;
        double sum[3] = { 0, 0, 0 };
        int inked = 0;
        for (const auto &[pen, count] : pattern.cellsPerPen) {
            const Rgb colour = pen == 0 ? white : penColour(pen);
            if (colour == white)
                continue;
            sum[0] += double(colour.r) * count;
            sum[1] += double(colour.g) * count;
            sum[2] += double(colour.b) * count;
            inked += count;
        }
        if (inked == 0)
            return Tint { white, 0 };
        return Tint { average(sum, inked), 100.0 * inked / pattern.cells };
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
