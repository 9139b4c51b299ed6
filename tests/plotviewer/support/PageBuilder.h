#pragma once
// Builds display-list pages by hand for the renderer and output tests.

#include "plotviewer/model/DisplayList.h"
#include "plotviewer/render/RenderOptions.h"

#include <QMetaType>

#include <string>
#include <vector>

namespace plotviewer::test {

class PageBuilder
{
public:
    PageBuilder &frame(Rect frame);
    PageBuilder &stroke(const std::vector<Point> &points, const StrokeStyle &style = {}, bool closed = false);
    PageBuilder &fill(const std::vector<std::vector<Point>> &rings, const FillStyle &style);
    /// A label in fixed pitch: cells `height` * 1.5 wide along +x (rotated by `angleDegrees`),
    /// glyph bodies `height` wide.
    PageBuilder &text(const std::u32string &text, Point origin, double height, const StrokeStyle &style = {},
        double angleDegrees = 0);
    /// The page, with ink bounds computed from everything added.
    Page build() const;

private:
    std::uint32_t strokeStyle(const StrokeStyle &style);
    std::uint32_t addPath(const std::vector<Point> &points, bool closed);
    void addInk(Point p, double halfWidth);

    Page m_page;
    bool m_hasInk = false;
};

StrokeStyle pen(Rgb colour, double width = 0);

} // namespace plotviewer::test

Q_DECLARE_METATYPE(plotviewer::Page)
Q_DECLARE_METATYPE(plotviewer::Rect)
Q_DECLARE_METATYPE(plotviewer::Point)
Q_DECLARE_METATYPE(plotviewer::Placement)
Q_DECLARE_METATYPE(plotviewer::ColourMode)
