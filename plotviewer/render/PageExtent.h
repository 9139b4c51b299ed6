#pragma once

#include "plotviewer/model/DisplayList.h"

namespace plotviewer {

/// The part of the plot plane a page shows: its frame when the plot gives one, else everything
/// inked plus a small margin. Empty for a page with neither frame nor items.
Rect pageExtent(const Page &page);

/// True when the extent is wider than tall, so the page reads best in landscape.
bool isLandscape(const Rect &extent);

} // namespace plotviewer
