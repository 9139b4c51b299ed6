#pragma once
// The display list's scale, shared by every stage that turns plot units into inches or pixels.

#include "DisplayList.h"

namespace plotviewer {

/// Plotter units per inch (one unit is 0.025 mm).
inline constexpr double plotUnitsPerInch = 1016;
inline constexpr double plotUnitsPerMillimetre = 40;
inline constexpr double millimetresPerInch = 25.4;
/// PCL's decipoints: tenths of a printer's point.
inline constexpr double decipointsPerInch = 720;

/// A coordinate far beyond any drawing: clip rectangles this large do not clip.
inline constexpr double unbounded = 1e12;
inline constexpr Rect everywhere { -unbounded, -unbounded, unbounded, unbounded };

} // namespace plotviewer
