#include "PageExtent.h"

#include <algorithm>
#include <cmath>

namespace plotviewer {

namespace {

constexpr double marginRatio = 0.03;
// A dot or a hairline has no area; one millimetre keeps it in the middle of a sensible page.
constexpr double minimumMargin = 40;

bool isFinite(const Rect &r)
{
    return std::isfinite(r.left) && std::isfinite(r.bottom) && std::isfinite(r.right) && std::isfinite(r.top);
}

} // namespace

Rect pageExtent(const Page &page)
{
    if (!page.frame.isEmpty() && isFinite(page.frame))
        return page.frame;
    const Rect &ink = page.inkBounds;
    if (page.items.empty() || !isFinite(ink) || ink.right < ink.left || ink.top < ink.bottom)
        return {};
    const double margin
        = std::max(marginRatio * std::max(ink.right - ink.left, ink.top - ink.bottom), minimumMargin);
    return { ink.left - margin, ink.bottom - margin, ink.right + margin, ink.top + margin };
}

bool isLandscape(const Rect &extent)
{
    return extent.right - extent.left > extent.top - extent.bottom;
}

} // namespace plotviewer
