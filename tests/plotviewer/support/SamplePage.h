#pragma once
// Pages built by hand for the renderer and output tests, through the interpreter's own page
// builder, so their ink bounds and items are the ones the interpreter would make.

#include "plotviewer/interpreter/PageBuilder.h"
#include "plotviewer/model/DisplayList.h"
#include "plotviewer/render/RenderOptions.h"

#include <QMetaType>

#include <cmath>
#include <numbers>
#include <span>
#include <string>
#include <vector>

namespace plotviewer::test {

class SamplePage
{
public:
    SamplePage &frame(Rect frame)
    {
        m_frame = frame;
        return *this;
    }
    SamplePage &stroke(const std::vector<Point> &points, const StrokeStyle &style = {}, bool closed = false)
    {
        m_builder.addStroke(points, style, closed);
        return *this;
    }
    SamplePage &fill(const std::vector<std::vector<Point>> &rings, const FillStyle &style)
    {
        const std::vector<std::span<const Point>> subpaths(rings.begin(), rings.end());
        m_builder.addFill(subpaths, style);
        return *this;
    }
    /// A label in fixed pitch: cells `height` * 1.5 wide along +x (rotated by `angleDegrees`),
    /// glyph bodies `height` wide.
    SamplePage &text(const std::u32string &text, Point origin, double height, const StrokeStyle &style = {},
        double angleDegrees = 0)
    {
        const double angle = angleDegrees * std::numbers::pi / 180;
        const Point along { std::cos(angle), std::sin(angle) };
        TextRun run;
        run.text = text;
        run.origin = origin;
        run.advance = { 1.5 * height * along.x, 1.5 * height * along.y };
        run.up = { -height * along.y, height * along.x };
        run.across = { height * along.x, height * along.y };
        m_builder.addText(run, style);
        return *this;
    }
    /// The page with everything added.
    Page build()
    {
        std::vector<Page> pages;
        m_builder.finishPage(m_frame, pages);
        if (!pages.empty())
            return std::move(pages.front());
        Page empty;
        empty.frame = m_frame;
        return empty;
    }

private:
    hpgl::PageBuilder m_builder { sampleBudget };
    Rect m_frame;
    static constexpr std::size_t sampleBudget = 100'000'000;
};

inline StrokeStyle pen(Rgb colour, double width = 0)
{
    StrokeStyle style;
    style.colour = colour;
    style.width = width;
    return style;
}

} // namespace plotviewer::test

Q_DECLARE_METATYPE(plotviewer::Page)
Q_DECLARE_METATYPE(plotviewer::Rect)
Q_DECLARE_METATYPE(plotviewer::Point)
Q_DECLARE_METATYPE(plotviewer::Placement)
Q_DECLARE_METATYPE(plotviewer::ColourMode)
