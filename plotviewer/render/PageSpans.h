#pragma once
// Reading the ranges a display list's items and paths refer to, cut to what the page holds, so
// that a damaged list is drawn as far as it is sound and never read out of bounds.

#include "plotviewer/model/DisplayList.h"

#include <algorithm>
#include <span>

namespace plotviewer {

inline std::span<const PathSpan> itemPaths(const Page &page, const Item &item)
{
    const std::size_t first = std::min<std::size_t>(item.firstPath, page.paths.size());
    const std::size_t end
        = std::min<std::size_t>(std::size_t(item.firstPath) + item.pathCount, page.paths.size());
    return std::span(page.paths).subspan(first, end - first);
}

inline std::span<const Point> pathPoints(const Page &page, const PathSpan &path)
{
    const std::size_t first = std::min<std::size_t>(path.first, page.points.size());
    const std::size_t end = std::min<std::size_t>(std::size_t(path.first) + path.count, page.points.size());
    return std::span(page.points).subspan(first, end - first);
}

} // namespace plotviewer
