#pragma once
// How marks are stored in a Page, by the page being built and by the marks its frame cut alike:
// a path's points after the points before it, each style once, a character by its cell's centre.

#include "plotviewer/model/DisplayList.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace plotviewer::hpgl {

/// The centre of character `i`'s cell: a character stands or falls with it.
inline Point characterCentre(const TextRun &run, std::size_t i)
{
    const double at = static_cast<double>(i);
    return { run.origin.x + at * run.advance.x + (run.across.x + run.up.x) / 2,
        run.origin.y + at * run.advance.y + (run.across.y + run.up.y) / 2 };
}

/// The index of `style` in `styles`, added when new. Each style is there once, so the one matched
/// last (`last`) is checked first: most marks take the style of the mark before. Of the others, the
/// latest are the likeliest matches.
template<typename Style>
std::uint32_t sharedStyleIndex(std::vector<Style> &styles, const Style &style, std::uint32_t &last)
{
    if (last < styles.size() && styles[last] == style)
        return last;
    for (std::size_t i = styles.size(); i-- > 0;) {
        if (styles[i] == style)
            return last = static_cast<std::uint32_t>(i);
    }
    styles.push_back(style);
    return last = static_cast<std::uint32_t>(styles.size() - 1);
}

/// Appends `points` as a path of `page`; returns the path's index.
inline std::uint32_t appendPath(Page &page, std::span<const Point> points, bool closed)
{
    const auto first = static_cast<std::uint32_t>(page.points.size());
    page.points.insert(page.points.end(), points.begin(), points.end());
    page.paths.push_back({ first, static_cast<std::uint32_t>(points.size()), closed });
    return static_cast<std::uint32_t>(page.paths.size() - 1);
}

/// Calls `visit(std::span<const Point>)` with each path of a stroke or fill item.
template<typename Visit> void forEachPathOf(const Page &page, const Item &item, Visit &&visit)
{
    if (item.kind != ItemKind::Stroke && item.kind != ItemKind::Fill)
        return;
    for (std::uint32_t n = 0; n < item.pathCount; ++n) {
        const PathSpan &span = page.paths[item.firstPath + n];
        visit(std::span<const Point>(page.points.data() + span.first, span.count));
    }
}

} // namespace plotviewer::hpgl
