#pragma once

#include <QFont>

/// The fonts the windows are laid out for. Where Tahoma or MS Sans Serif is not installed, the
/// copies shipped with Wine's fonts are loaded; failing that, a sans-serif font stands in.
namespace UiFonts {
// The point sizes the windows were laid out with.
inline constexpr qreal ControlPoints = 8.15; ///< the controls' own font
inline constexpr qreal WindowPoints = 6.79; ///< the main window's font, used by some of its controls
inline constexpr qreal FormsButtonPoints = 6.75; ///< the flat Default and About buttons
inline constexpr qreal HeadingPoints = 10.19; ///< the About window's title and version
inline constexpr qreal OkButtonPoints = 7.47; ///< the About window's OK button

QFont tahoma(qreal pointSize, bool bold = false);
QFont msSansSerif(qreal pointSize);
} // namespace UiFonts
