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

CutMarks::RawSpan CutMarks::appendPoints(const std::vector<Point> &points)
{
    const std::size_t at = m_points.size();
    m_points.insert(m_points.end(), points.begin(), points.end());
    return { static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(points.size()) };
}

void CutMarks::addStroke(const std::vector<Point> &polyline, const StrokeStyle &style, bool closed,
    std::size_t firstItem, std::size_t endItem)
{
    const RawSpan points = appendPoints(polyline);
    m_marks.push_back({ ItemKind::Stroke, closed, static_cast<std::uint32_t>(m_windows.size() - 1),
        lastOrNew(m_strokeStyles, style), points.first, points.count, firstItem, endItem });
}

void CutMarks::addFill(const std::vector<std::vector<Point>> &subpaths, const FillStyle &style,
    std::size_t firstItem, std::size_t endItem)
{
    const auto first = static_cast<std::uint32_t>(m_subpaths.size());
    for (const std::vector<Point> &subpath : subpaths)
        m_subpaths.push_back(appendPoints(subpath));
    m_marks.push_back({ ItemKind::Fill, true, static_cast<std::uint32_t>(m_windows.size() - 1),
        lastOrNew(m_fillStyles, style), first, static_cast<std::uint32_t>(subpaths.size()), firstItem,
        endItem });
}

void CutMarks::addText(
    const TextRun &run, const StrokeStyle &style, std::size_t firstItem, std::size_t endItem)
{
    m_texts.push_back(run);
    m_marks.push_back({ ItemKind::Text, false, static_cast<std::uint32_t>(m_windows.size() - 1),
        lastOrNew(m_strokeStyles, style), static_cast<std::uint32_t>(m_texts.size() - 1), 1, firstItem,
        endItem });
}

Page CutMarks::marks() const
{
    Page page;
    page.strokeStyles = m_strokeStyles;
    page.fillStyles = m_fillStyles;
    page.points.assign(m_points.begin(), m_points.end());
    for (const RawMark &mark : m_marks) {
        const auto firstPath = static_cast<std::uint32_t>(page.paths.size());
        if (mark.kind == ItemKind::Stroke) {
            page.paths.push_back({ mark.first, mark.count, mark.closed });
            page.items.push_back({ mark.kind, mark.style, firstPath, 1 });
        } else if (mark.kind == ItemKind::Fill) {
            for (std::uint32_t k = 0; k < mark.count; ++k)
                page.paths.push_back(
                    { m_subpaths[mark.first + k].first, m_subpaths[mark.first + k].count, true });
            page.items.push_back({ mark.kind, mark.style, firstPath, mark.count });
        } else {
            TextRun run = m_texts[mark.first];
            run.strokeStyle = mark.style;
            page.texts.push_back(std::move(run));
            page.items.push_back(
                { mark.kind, mark.style, static_cast<std::uint32_t>(page.texts.size() - 1), 1 });
        }
    }
    return page;
}

Rect CutMarks::reach() const
{
    constexpr Rect none { unbounded, unbounded, -unbounded, -unbounded };
    Rect bounds = none;
    const auto include = [](Rect &r, Point p) {
        if (RectClipper::isFinite(p))
            r = { std::min(r.left, p.x), std::min(r.bottom, p.y), std::max(r.right, p.x),
                std::max(r.top, p.y) };
    };
    const Page page = marks();
    for (std::size_t i = 0; i < m_marks.size(); ++i) {
        const Item &item = page.items[i];
        const RectClipper window(windowOf(i));
        Rect reach = none;
        if (item.kind == ItemKind::Text) {
            const TextRun &run = page.texts[item.firstPath];
            for (std::size_t c = 0; c < run.text.size(); ++c) {
                if (const Point centre = characterCentre(run, c); window.contains(centre))
                    include(reach, centre);
            }
        }
        for (std::uint32_t n = 0; item.kind != ItemKind::Text && n < item.pathCount; ++n) {
            const PathSpan &span = page.paths[item.firstPath + n];
            const std::vector<Point> path(
                page.points.begin() + span.first, page.points.begin() + span.first + span.count);
            if (item.kind == ItemKind::Fill) {
                for (const Point &p : window.clipPolygon(path))
                    include(reach, p);
            } else {
                window.clipPolyline(path, [&](const std::vector<Point> &piece) {
                    for (const Point &p : piece)
                        include(reach, p);
                });
            }
        }
        if (reach.left <= reach.right)
            bounds = { std::min(bounds.left, reach.left), std::min(bounds.bottom, reach.bottom),
                std::max(bounds.right, reach.right), std::max(bounds.top, reach.top) };
    }
    return bounds;
}

} // namespace plotviewer::hpgl
