#pragma once
// Small helpers shared by the reader and interpreter tests.

#include "plotviewer/interpreter/PlotInterpreter.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <span>
#include <string_view>
#include <vector>

namespace plottest {

inline std::string_view view(const QByteArray &bytes)
{
    return { bytes.constData(), static_cast<std::size_t>(bytes.size()) };
}

inline plotviewer::InterpretResult interpret(const QByteArray &bytes)
{
    return plotviewer::interpretPlot(view(bytes));
}

/// The first page, or an empty one when nothing was drawn.
inline const plotviewer::Page &firstPage(const plotviewer::InterpretResult &result)
{
    static const plotviewer::Page empty;
    return result.plot.pages.empty() ? empty : result.plot.pages.front();
}

/// The kinds of a page's items in painting order: S stroke, F fill, T text, I image.
inline QString kindsInPaintingOrder(const plotviewer::Page &page)
{
    QString kinds;
    for (const plotviewer::Item &item : page.items)
        kinds += QLatin1Char("SFTI"[int(item.kind)]);
    return kinds;
}

/// The stroked subpaths of the first page, each as its list of points.
inline std::vector<std::vector<plotviewer::Point>> strokes(const plotviewer::InterpretResult &result)
{
    std::vector<std::vector<plotviewer::Point>> paths;
    if (result.plot.pages.empty())
        return paths;
    const plotviewer::Page &page = result.plot.pages.front();
    for (const plotviewer::Item &item : page.items) {
        if (item.kind != plotviewer::ItemKind::Stroke)
            continue;
        for (std::uint32_t i = 0; i < item.pathCount; ++i) {
            const plotviewer::PathSpan &span = page.paths[item.firstPath + i];
            paths.emplace_back(
                page.points.begin() + span.first, page.points.begin() + span.first + span.count);
        }
    }
    return paths;
}

/// "x,y" rounded to 0.01, for readable comparisons.
inline QString pointText(plotviewer::Point p)
{
    auto number = [](double v) { return QString::number(std::round(v * 100) / 100 + 0.0, 'g', 10); };
    return number(p.x) + QLatin1Char(',') + number(p.y);
}

inline QString pathText(std::span<const plotviewer::Point> path)
{
    QStringList points;
    for (const plotviewer::Point &p : path)
        points << pointText(p);
    return points.join(QLatin1Char(' '));
}

/// Each stroked subpath of the first page with its style: "points | r,g,b width cap tint".
inline QStringList styledStrokes(const plotviewer::InterpretResult &result)
{
    QStringList lines;
    if (result.plot.pages.empty())
        return lines;
    const plotviewer::Page &page = result.plot.pages.front();
    for (const plotviewer::Item &item : page.items) {
        if (item.kind != plotviewer::ItemKind::Stroke)
            continue;
        const plotviewer::StrokeStyle &style = page.strokeStyles[item.style];
        const QString styleText = QStringLiteral("%1,%2,%3 %4 %5 %6")
                                      .arg(style.colour.r)
                                      .arg(style.colour.g)
                                      .arg(style.colour.b)
                                      .arg(style.width)
                                      .arg(int(style.cap))
                                      .arg(style.tint);
        for (std::uint32_t i = 0; i < item.pathCount; ++i) {
            const plotviewer::PathSpan &span = page.paths[item.firstPath + i];
            lines << pathText({ page.points.data() + span.first, span.count }) + QStringLiteral(" | ")
                    + styleText;
        }
    }
    return lines;
}

} // namespace plottest
