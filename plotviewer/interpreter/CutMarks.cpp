#include "CutMarks.h"

#include "plotviewer/model/Geometry.h"
#include "plotviewer/model/RectClipper.h"

#include <algorithm>

namespace plotviewer::hpgl {

void CutMarks::setWindow(const Rect &window)
{
    if (window != m_windows.back())
        m_windows.push_back(window);
}

void CutMarks::place(std::size_t firstItem, std::size_t endItem)
{
    m_placements.push_back({ static_cast<std::uint32_t>(m_windows.size() - 1), firstItem, endItem });
}

void CutMarks::addStroke(std::span<const Point> polyline, const StrokeStyle &style, bool closed,
    std::size_t firstItem, std::size_t endItem)
{
    const std::uint32_t path = appendPath(m_marks, polyline, closed);
    m_marks.items.push_back(
        { ItemKind::Stroke, sharedStyleIndex(m_marks.strokeStyles, style, m_lastStrokeStyle), path, 1 });
    place(firstItem, endItem);
}

void CutMarks::addFill(std::span<const std::span<const Point>> subpaths, const FillStyle &style,
    std::size_t firstItem, std::size_t endItem)
{
    const auto first = static_cast<std::uint32_t>(m_marks.paths.size());
    for (const std::span<const Point> subpath : subpaths)
        appendPath(m_marks, subpath, true);
    m_marks.items.push_back({ ItemKind::Fill, sharedStyleIndex(m_marks.fillStyles, style, m_lastFillStyle),
        first, static_cast<std::uint32_t>(subpaths.size()) });
    place(firstItem, endItem);
}

void CutMarks::addText(
    const TextRun &run, const StrokeStyle &style, std::size_t firstItem, std::size_t endItem)
{
    const std::uint32_t styleIndex = sharedStyleIndex(m_marks.strokeStyles, style, m_lastStrokeStyle);
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
        forEachPathOf(m_marks, item, [&](std::span<const Point> path) {
            // A path the window holds whole is its own reach (a fill's points that are not finite
            // are dropped, as include does): only the others need clipping.
            const bool whole = item.kind == ItemKind::Fill ? std::all_of(path.begin(), path.end(),
                                   [&](Point p) { return !RectClipper::isFinite(p) || window.contains(p); })
                                                           : window.containsAll(path);
            if (whole) {
                for (const Point p : path)
                    include(reach, p);
            } else if (item.kind == ItemKind::Fill) {
                for (const Point &p : window.clipPolygon({ path.begin(), path.end() }))
                    include(reach, p);
            } else {
                window.clipPolyline(path, [&](std::span<const Point> piece) {
                    for (const Point &p : piece)
                        include(reach, p);
                });
            }
        });
        if (reach.left <= reach.right)
            bounds = united(bounds, reach);
    }
    return bounds;
}

} // namespace plotviewer::hpgl
