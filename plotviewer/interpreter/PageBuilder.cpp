#include "PageBuilder.h"

#include "plotviewer/model/Geometry.h"
#include "plotviewer/model/PlotUnits.h"

#include <algorithm>
#include <cmath>

namespace plotviewer::hpgl {

namespace {

// The index of `style` in `styles`, added when new. The latest styles are the likeliest matches.
template<typename Style> std::uint32_t sharedIndex(std::vector<Style> &styles, const Style &style)
{
    for (std::size_t i = styles.size(); i-- > 0;) {
        if (styles[i] == style)
            return static_cast<std::uint32_t>(i);
    }
    styles.push_back(style);
    return static_cast<std::uint32_t>(styles.size() - 1);
}

} // namespace

PageBuilder::PageBuilder(std::size_t pointBudget)
    : m_clipper(everywhere)
    , m_budget(pointBudget)
{ }

void PageBuilder::setClip(const Rect &frame, const Rect &window, const Rect &watched)
{
    m_clipper = RectClipper(intersected(frame, window));
    m_frameCut.watch(watched, window);
}

bool PageBuilder::reserve(std::size_t points)
{
    if (points > m_budget) {
        m_overBudget = true;
        m_budget = 0;
        return false;
    }
    m_budget -= points;
    return true;
}

std::uint32_t PageBuilder::strokeStyleIndex(const StrokeStyle &style)
{
    return sharedIndex(m_page.strokeStyles, style);
}

std::uint32_t PageBuilder::fillStyleIndex(const FillStyle &style)
{
    return sharedIndex(m_page.fillStyles, style);
}

void PageBuilder::appendItem(
    ItemKind kind, std::uint32_t style, std::uint32_t firstPath, std::uint32_t pathCount)
{
    if (kind != ItemKind::Text && !m_page.items.empty()) {
        Item &last = m_page.items.back();
        if (last.kind == kind && last.style == style && last.firstPath + last.pathCount == firstPath
            && kind == ItemKind::Stroke) {
            last.pathCount += pathCount;
            return;
        }
    }
    m_page.items.push_back({ kind, style, firstPath, pathCount });
}

void PageBuilder::include(Point p, double margin)
{
    Rect &bounds = m_page.inkBounds;
    if (!m_haveInk) {
        bounds = { p.x - margin, p.y - margin, p.x + margin, p.y + margin };
        m_haveInk = true;
        return;
    }
    bounds.left = std::min(bounds.left, p.x - margin);
    bounds.bottom = std::min(bounds.bottom, p.y - margin);
    bounds.right = std::max(bounds.right, p.x + margin);
    bounds.top = std::max(bounds.top, p.y + margin);
}

void PageBuilder::addStroke(const std::vector<Point> &polyline, const StrokeStyle &style, bool closed)
{
    if (m_overBudget || polyline.empty())
        return;
    const double margin = std::max(style.width / 2, 0.5);
    double kept = 0;
    std::uint32_t styleIndex = 0;
    bool haveStyle = false;
    m_clipper.clipPolyline(polyline, [&](const std::vector<Point> &piece) {
        if (!reserve(piece.size()))
            return;
        if (!haveStyle) {
            styleIndex = strokeStyleIndex(style);
            haveStyle = true;
        }
        const auto first = static_cast<std::uint32_t>(m_page.points.size());
        for (const Point &p : piece) {
            m_page.points.push_back(p);
            include(p, margin);
        }
        // Only a frame that cuts into the window needs to know how much ink it kept.
        if (m_frameCut.watching())
            kept += FrameCutDetector::inkAmount(piece, false);
        const auto path = static_cast<std::uint32_t>(m_page.paths.size());
        const bool whole = closed && piece.size() == polyline.size() && piece.front() == polyline.front()
            && piece.back() == polyline.back();
        m_page.paths.push_back({ first, static_cast<std::uint32_t>(piece.size()), whole });
        appendItem(ItemKind::Stroke, styleIndex, path, 1);
    });
    m_frameCut.checkPolyline(polyline, kept);
}

void PageBuilder::addFill(const std::vector<std::vector<Point>> &subpaths, const FillStyle &style)
{
    if (m_overBudget)
        return;
    const auto firstPath = static_cast<std::uint32_t>(m_page.paths.size());
    for (const std::vector<Point> &subpath : subpaths) {
        const std::vector<Point> visible = m_clipper.clipPolygon(subpath);
        if (m_frameCut.watching())
            m_frameCut.checkPolygon(
                subpath, visible.size() < 3 ? 0 : FrameCutDetector::inkAmount(visible, true));
        if (visible.size() < 3 || !reserve(visible.size()))
            continue;
        const auto first = static_cast<std::uint32_t>(m_page.points.size());
        for (const Point &p : visible) {
            m_page.points.push_back(p);
            include(p, 0);
        }
        m_page.paths.push_back({ first, static_cast<std::uint32_t>(visible.size()), true });
    }
    const auto count = static_cast<std::uint32_t>(m_page.paths.size()) - firstPath;
    if (count > 0)
        appendItem(ItemKind::Fill, fillStyleIndex(style), firstPath, count);
}

void PageBuilder::addText(const TextRun &run, const StrokeStyle &style)
{
    if (m_overBudget || run.text.empty())
        return;
    // Keep the characters whose cell centre is inside the clip, as runs of neighbours.
    TextRun part = run;
    part.text.clear();
    const std::uint32_t styleIndex = strokeStyleIndex(style);
    // A character lays about as much ink as a line across its cell.
    const double characterInk = std::abs(run.advance.x) + std::abs(run.advance.y);
    for (std::size_t i = 0; i < run.text.size(); ++i) {
        const double at = static_cast<double>(i);
        const Point centre { run.origin.x + at * run.advance.x + (run.across.x + run.up.x) / 2,
            run.origin.y + at * run.advance.y + (run.across.y + run.up.y) / 2 };
        const bool visible = RectClipper::isFinite(centre) && m_clipper.contains(centre);
        m_frameCut.checkPoint(centre, characterInk, visible);
        if (visible) {
            if (part.text.empty())
                part.origin = { run.origin.x + i * run.advance.x, run.origin.y + i * run.advance.y };
            part.text.push_back(run.text[i]);
            continue;
        }
        addVisibleText(part, styleIndex);
        part.text.clear();
    }
    addVisibleText(part, styleIndex);
}

void PageBuilder::addVisibleText(const TextRun &run, std::uint32_t style)
{
    if (run.text.empty() || !reserve(run.text.size()))
        return;
    const double n = static_cast<double>(run.text.size());
    const Point end { run.origin.x + n * run.advance.x, run.origin.y + n * run.advance.y };
    const Point last { end.x - run.advance.x, end.y - run.advance.y };
    // Descenders reach about a third of the cap height below the baseline. The boxes of the first
    // and last glyphs bound the run whichever way the advance and the glyphs face.
    const Point below { -run.up.x / 3, -run.up.y / 3 };
    for (const Point &base : { run.origin, end, last, add(run.origin, run.across), add(last, run.across) }) {
        include({ base.x + below.x, base.y + below.y }, 0);
        include({ base.x + run.up.x, base.y + run.up.y }, 0);
    }
    TextRun stored = run;
    stored.strokeStyle = style;
    m_page.texts.push_back(std::move(stored));
    appendItem(ItemKind::Text, style, static_cast<std::uint32_t>(m_page.texts.size() - 1), 1);
}

void PageBuilder::addImage(RasterImage image)
{
    const Point right = scaled(image.across, image.width);
    const Point below = scaled(image.down, image.height);
    for (const Point &corner : { image.origin, add(image.origin, right), add(image.origin, below),
             add(add(image.origin, right), below) })
        include(corner, 0);
    m_page.images.push_back(std::move(image));
    appendItem(ItemKind::Image, 0, static_cast<std::uint32_t>(m_page.images.size() - 1), 1);
}

void PageBuilder::addRectangle(const Rect &area, const FillStyle &style)
{
    if (m_overBudget || !reserve(4))
        return;
    const auto first = static_cast<std::uint32_t>(m_page.points.size());
    for (const Point &p : { Point { area.left, area.bottom }, Point { area.right, area.bottom },
             Point { area.right, area.top }, Point { area.left, area.top } }) {
        m_page.points.push_back(p);
        include(p, 0);
    }
    const auto path = static_cast<std::uint32_t>(m_page.paths.size());
    m_page.paths.push_back({ first, 4, true });
    appendItem(ItemKind::Fill, fillStyleIndex(style), path, 1);
}

void PageBuilder::finishPage(const Rect &frame, std::vector<Page> &pages)
{
    if (hasMarks()) {
        m_page.frame = frame.isEmpty() ? Rect {} : frame;
        pages.push_back(std::move(m_page));
    }
    m_page = Page {};
    m_haveInk = false;
    m_frameCut.reset();
}

} // namespace plotviewer::hpgl
