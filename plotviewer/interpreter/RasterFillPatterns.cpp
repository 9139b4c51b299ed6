#include "RasterFillPatterns.h"

#include <algorithm>
#include <cmath>

namespace plotviewer::hpgl {

void RasterFillPatterns::reset()
{
    m_patterns = {};
}

bool RasterFillPatterns::define(const std::vector<double> &n)
{
    if (n.empty()) {
        reset();
        return true;
    }
    const double index = std::round(n[0]);
    if (!(index >= 1 && index <= patternCount))
        return false;
    Pattern &slot = m_patterns[static_cast<std::size_t>(index - 1)];
    if (n.size() == 1) {
        slot = {};
        return true;
    }
    if (n.size() < 3)
        return false;
    const double width = std::round(n[1]);
    const double height = std::round(n[2]);
    if (!(width >= 1 && width <= maxSide && height >= 1 && height <= maxSide))
        return false;
    const auto cells = static_cast<std::size_t>(width * height);
    if (n.size() < 3 + cells)
        return false;
    std::vector<int> pens;
    pens.reserve(cells);
    for (std::size_t i = 3; i < 3 + cells; ++i) {
        if (!(n[i] >= 0 && n[i] < 1e6))
            return false;
        pens.push_back(static_cast<int>(std::round(n[i])));
    }
    std::sort(pens.begin(), pens.end());
    Pattern pattern;
    for (auto run = pens.begin(); run != pens.end();) {
        const auto next = std::upper_bound(run, pens.end(), *run);
        pattern.cellsPerPen.emplace_back(*run, static_cast<int>(next - run));
        run = next;
    }
    pattern.cells = static_cast<int>(cells);
    slot = std::move(pattern);
    return true;
}

Rgb RasterFillPatterns::average(const double (&sum)[3], int cells)
{
    auto channel = [cells](double total) {
        return static_cast<std::uint8_t>(std::clamp(std::lround(total / cells), 0L, 255L));
    };
    return { channel(sum[0]), channel(sum[1]), channel(sum[2]) };
}

} // namespace plotviewer::hpgl
