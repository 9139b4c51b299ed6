#include "PagePainter.h"

#include "PageSpans.h"

#include <QPainter>

#include <algorithm>

namespace plotviewer {

namespace {

// Beyond the widest pen, so that clipped line ends and their caps stay out of sight.
constexpr double clipSlack = 2;

Qt::PenCapStyle qtCap(LineCap cap)
{
    switch (cap) {
    case LineCap::Square:
        return Qt::SquareCap;
    case LineCap::Round:
        return Qt::RoundCap;
    case LineCap::Butt:
        break;
    }
    return Qt::FlatCap;
}

Qt::PenJoinStyle qtJoin(LineJoin join)
{
    switch (join) {
    case LineJoin::Bevel:
        return Qt::BevelJoin;
    case LineJoin::Round:
        return Qt::RoundJoin;
    case LineJoin::Miter:
        break;
    }
    return Qt::MiterJoin;
}

} // namespace

PagePainter::PagePainter(QPainter &painter, const Page &page, const PageTransform &transform,
    const QRectF &visible, const RenderOptions &options, OutlineFont &outlineFont)
    : m_painter(painter)
    , m_page(page)
    , m_transform(transform)
    , m_colourMode(options.colourMode)
    , m_clipper(clipBounds(page, transform, visible))
    , m_strokes(m_clipper)
    , m_fills(transform, m_clipper)
    , m_labels(transform, m_clipper, page.texts.empty() ? nullptr : options.strokeFont(), outlineFont)
    , m_images(transform, options.colourMode, m_clipper.bounds())
    , m_penStarting(options.penStarting)
{
    m_pens.reserve(page.strokeStyles.size());
    for (const StrokeStyle &style : page.strokeStyles)
        m_pens.push_back(pen(style));
}

QRectF PagePainter::clipBounds(const Page &page, const PageTransform &transform, const QRectF &visible)
{
    double widest = 0;
    for (const StrokeStyle &style : page.strokeStyles)
        widest = std::max(widest, style.width);
    for (const FillStyle &style : page.fillStyles)
        widest = std::max(widest, style.hatchLineWidth);
    const double slack
        = std::min(transform.mapLength(widest), std::max(visible.width(), visible.height())) + clipSlack;
    return visible.adjusted(-slack, -slack, slack, slack);
}

QPen PagePainter::pen(const StrokeStyle &style) const
{
    QPen pen(deviceColour(style.colour, style.tint, m_colourMode), m_transform.penWidth(style.width),
        Qt::SolidLine, qtCap(style.cap), qtJoin(style.join));
    pen.setMiterLimit(style.miterLimit);
    return pen;
}

void PagePainter::paint()
{
    for (const Item &item : m_page.items) {
        if (m_penStarting)
            notePen(item);
        switch (item.kind) {
        case ItemKind::Stroke:
            paintStroke(item);
            break;
        case ItemKind::Fill:
            if (item.style < m_page.fillStyles.size()) {
                m_strokes.flush(m_painter);
                const FillStyle &style = m_page.fillStyles[item.style];
                m_fills.paint(
                    m_painter, m_page, item, style, deviceColour(style.colour, style.tint, m_colourMode));
            }
            break;
        case ItemKind::Text:
            paintText(item);
            break;
        case ItemKind::Image:
            if (item.firstPath < m_page.images.size()) {
                m_strokes.flush(m_painter);
                m_images.paint(m_painter, m_page.images[item.firstPath]);
            }
            break;
        }
    }
    m_strokes.flush(m_painter);
}

void PagePainter::notePen(const Item &item)
{
    int pen = 0;
    QColor colour;
    const auto fromStroke = [&](std::uint32_t style) {
        if (style < m_pens.size()) {
            pen = m_page.strokeStyles[style].pen;
            colour = m_pens[style].color();
        }
    };
    switch (item.kind) {
    case ItemKind::Stroke:
        fromStroke(item.style);
        break;
    case ItemKind::Text:
        if (item.firstPath < m_page.texts.size())
            fromStroke(m_page.texts[item.firstPath].strokeStyle);
        break;
    case ItemKind::Fill:
        if (item.style < m_page.fillStyles.size()) {
            const FillStyle &style = m_page.fillStyles[item.style];
            pen = style.pen;
            colour = deviceColour(style.colour, style.tint, m_colourMode);
        }
        break;
    case ItemKind::Image:
        break;
    }
    if (pen == m_lastPen)
        return;
    m_strokes.flush(m_painter);
    m_lastPen = pen;
    m_penStarting(pen, colour);
}

void PagePainter::paintStroke(const Item &item)
{
    if (item.style >= m_pens.size())
        return;
    m_strokes.setPen(m_painter, m_pens[item.style]);
    for (const PathSpan &path : itemPaths(m_page, item)) {
        const std::span<const Point> points = pathPoints(m_page, path);
        if (points.empty())
            continue;
        m_points.clear();
        for (const Point &point : points)
            m_points.push_back(m_transform.map(point));
        m_strokes.addPolyline(m_painter, m_points, path.closed);
    }
}

void PagePainter::paintText(const Item &item)
{
    if (item.firstPath >= m_page.texts.size())
        return;
    const TextRun &run = m_page.texts[item.firstPath];
    if (run.strokeStyle >= m_pens.size())
        return;
    m_strokes.setPen(m_painter, m_pens[run.strokeStyle]);
    m_labels.paint(m_painter, run, m_strokes, m_pens[run.strokeStyle].color());
}

} // namespace plotviewer
