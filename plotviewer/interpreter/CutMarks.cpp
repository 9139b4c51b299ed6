#include "CutMarks.h"

#include "plotviewer/model/Geometry.h"
#include "plotviewer/model/RectClipper.h"

#include <algorithm>

namespace plotviewer::hpgl {

namespace {

template<typename Style> std::uint32_t lastOrNew(std::vector<Style> &styles, const Style &style)
{
    if (styles.empty() || !(styles.back() == style))
        styles.push_back(style);
    return static_cast<std::uint32_t>(styles.size() - 1);
}

} // namespace

void CutMarks::setWindow(const Rect &window)
{
    if (window != m_windows.back())
        m_windows.push_back(window);
}

void CutMarks::place(std::size_t firstItem, std::size_t endItem)
{
    m_placements.push_back({ static_cast<std::uint32_t>(m_windows.size() - 1), firstItem, endItem });
}

std::uint32_t CutMarks::addPath(std::span<const Point> points, bool closed)
{
    const auto first = static_cast<std::uint32_t>(m_marks.points.size());
    m_marks.points.insert(m_marks.points.end(), points.begin(), points.end());
    m_marks.paths.push_back({ first, static_cast<std::uint32_t>(points.size()), closed });
    return static_cast<std::uint32_t>(m_marks.paths.size() - 1);
}

void CutMarks::addStroke(std::span<const Point> polyline, const StrokeStyle &style, bool closed,
    std::size_t firstItem, std::size_t endItem)
{
    const std::uint32_t path = addPath(polyline, closed);
    m_marks.items.push_back({ ItemKind::Stroke, lastOrNew(m_marks.strokeStyles, style), path, 1 });
    place(firstItem, endItem);
}

void CutMarks::addFill(std::span<const std::span<const Point>> subpaths, const FillStyle &style,
    std::size_t firstItem, std::size_t endItem)
{
    const auto first = static_cast<std::uint32_t>(m_marks.paths.size());
    for (const std::span<const Point> subpath : subpaths)
        addPath(subpath, true);
    m_marks.items.push_back({ ItemKind::Fill, lastOrNew(m_marks.fillStyles, style), first,
        static_cast<std::uint32_t>(subpaths.size()) });
    place(firstItem, endItem);
}

void CutMarks::addText(
    const TextRun &run, const StrokeStyle &style, std::size_t firstItem, std::size_t endItem)
{
    const std::uint32_t styleIndex = lastOrNew(m_marks.strokeStyles, style);
    m_marks.texts.push_back(run);
    m_marks.texts.back().strokeStyle = styleIndex;
    m_marks.items.push_back(
        { ItemKind::Text, styleIndex, static_cast<std::uint32_t>(m_marks.texts.size() - 1), 1 });
    place(firstItem, endItem);
}

Rect CutMarks::reach() const
{
    constexpr Rect none { unbounded, unbounded, -unbounded, -unbounded };
    Rect bounds = none;
    const auto include = [](Rect &r, Point p) {
        if (RectClipper::isFinite(p))
            r = extended(r, p);
    };
    for (std::size_t i = 0; i < m_marks.items.size(); ++i) {
        const Item &item = m_marks.items[i];
        const RectClipper window(windowOf(i));
        Rect reach = none;
        if (item.kind == ItemKind::Text) {
            const TextRun &run = m_marks.texts[item.firstPath];
            for (std::size_t c = 0; c < run.text.size(); ++c) {
                if (const Point centre = characterCentre(run, c); window.contains(centre))
                    include(reach, centre);
            }
        }
        for (std::uint32_t n = 0; item.kind != ItemKind::Text && n < item.pathCount; ++n) {
            const PathSpan &span = m_marks.paths[item.firstPath + n];
            const std::span<const Point> path(m_marks.points.data() + span.first, span.count);
            // A path the window holds whole is its own reach (a fill's points that are not finite
            // are dropped, as include does): only the others need clipping.
            const bool whole = item.kind == ItemKind::Fill ? std::all_of(path.begin(), path.end(),
                                   [&](Point p) { return !RectClipper::isFinite(p) || window.contains(p); })
                                                           : window.containsAll(path);
            if (whole) {
                for (const Point p : path)
                    include(reach, p);
                continue;
            }
            if (item.kind == ItemKind::Fill) {
                for (const Point &p : window.clipPolygon({ path.begin(), path.end() }))
                    include(reach, p);
            } else {
                window.clipPolyline(path, [&](std::span<const Point> piece) {
                    for (const Point &p : piece)
                        include(reach, p);
                });
            }
        }
        if (reach.left <= reach.right)
            bounds = united(bounds, reach);
    }
    return bounds;
}

} // namespace plotviewer::hpgl
