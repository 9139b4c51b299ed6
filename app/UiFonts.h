#pragma once

#include <QFont>

/// The fonts the windows are laid out for. Where Tahoma or MS Sans Serif is not installed, the
/// copies shipped with Wine's fonts are loaded; failing that, a sans-serif font stands in.
namespace UiFonts {
QFont tahoma(qreal pointSize, bool bold = false);
QFont msSansSerif(qreal pointSize);
} // namespace UiFonts
