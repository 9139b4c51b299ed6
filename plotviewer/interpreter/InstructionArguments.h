#pragma once
// Reading an instruction's numeric arguments, where any of them may be missing or not finite.

#include <algorithm>
#include <cmath>
#include <vector>

namespace plotviewer::hpgl {

/// Whether every argument is a finite number.
inline bool allFinite(const std::vector<double> &n)
{
    return std::all_of(n.begin(), n.end(), [](double v) { return std::isfinite(v); });
}

/// Argument `i`, or `fallback` when it is missing or not finite.
inline double argument(const std::vector<double> &n, std::size_t i, double fallback)
{
    return i < n.size() && std::isfinite(n[i]) ? n[i] : fallback;
}

} // namespace plotviewer::hpgl
