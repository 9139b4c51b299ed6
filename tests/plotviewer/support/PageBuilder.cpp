#include "PageBuilder.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace plotviewer::test {

StrokeStyle pen(Rgb colour, double width)
{
    StrokeStyle style;
    style.colour = colour;
    style.width = width;
    return style;
}

PageBuilder &PageBuilder::frame(Rect frame)
{
    m_page.frame = frame;
    return *this;
}

std::uint32_t PageBuilder::strokeStyle(const StrokeStyle &style)
{
    const auto found = std::find(m_page.strokeStyles.begin(), m_page.strokeStyles.end(), style);
    if (found != m_page.strokeStyles.end())
        return std::uint32_t(found - m_page.strokeStyles.begin());
    m_page.strokeStyles.push_back(style);
    return std::uint32_t(m_page.strokeStyles.size() - 1);
}

std::uint32_t PageBuilder::addPath(const std::vector<Point> &points, bool closed)
{
    m_page.paths.push_back({ std::uint32_t(m_page.points.size()), std::uint32_t(points.size()), closed });
    m_page.points.insert(m_page.points.end(), points.begin(), points.end());
    return std::uint32_t(m_page.paths.size() - 1);
}

void PageBuilder::addInk(Point p, double halfWidth)
{
    if (!std::isfinite(p.x) || !std::isfinite(p.y))
        return;
    const Rect r { p.x - halfWidth, p.y - halfWidth, p.x + halfWidth, p.y + halfWidth };
    Rect &ink = m_page.inkBounds;
    if (!m_hasInk) {
        ink = r;
        m_hasInk = true;
        return;
    }
    ink = { std::min(ink.left, r.left), std::min(ink.bottom, r.bottom), std::max(ink.right, r.right),
        std::max(ink.top, r.top) };
}

PageBuilder &PageBuilder::stroke(const std::vector<Point> &points, const StrokeStyle &style, bool closed)
{
    const std::uint32_t path = addPath(points, closed);
    m_page.items.push_back({ ItemKind::Stroke, strokeStyle(style), path, 1 });
    for (const Point p : points)
        addInk(p, style.width / 2);
    return *this;
}

PageBuilder &PageBuilder::fill(const std::vector<std::vector<Point>> &rings, const FillStyle &style)
{
    m_page.fillStyles.push_back(style);
    const std::uint32_t first = std::uint32_t(m_page.paths.size());
    for (const auto &ring : rings) {
        addPath(ring, true);
        for (const Point p : ring)
            addInk(p, 0);
    }
    m_page.items.push_back(
        { ItemKind::Fill, std::uint32_t(m_page.fillStyles.size() - 1), first, std::uint32_t(rings.size()) });
    return *this;
}

PageBuilder &PageBuilder::text(
    const std::u32string &text, Point origin, double height, const StrokeStyle &style, double angleDegrees)
{
    const double angle = angleDegrees * std::numbers::pi / 180;
    const Point along { std::cos(angle), std::sin(angle) };
    TextRun run;
    run.text = text;
    run.origin = origin;
    run.advance = { 1.5 * height * along.x, 1.5 * height * along.y };
    run.up = { -height * along.y, height * along.x };
    run.width = height;
    run.strokeStyle = strokeStyle(style);
    m_page.texts.push_back(run);
    m_page.items.push_back({ ItemKind::Text, 0, std::uint32_t(m_page.texts.size() - 1), 1 });
    const double length = 1.5 * height * double(text.size());
    addInk(origin, style.width);
    addInk({ origin.x + length * along.x + run.up.x, origin.y + length * along.y + run.up.y }, style.width);
    return *this;
}

Page PageBuilder::build() const
{
    return m_page;
}

} // namespace plotviewer::test
