#include "LabelPainter.h"

#include "GlyphFrame.h"
#include "OutlineFont.h"
#include "StrokeBatch.h"
#include "StrokeFont.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>

namespace plotviewer {

LabelPainter::LabelPainter(const PageTransform &transform, const DeviceClipper &clipper,
    const StrokeFont *strokeFont, OutlineFont &outlineFont)
    : m_transform(transform)
    , m_clipper(clipper)
    , m_strokeFont(strokeFont)
    , m_outlineFont(outlineFont)
{ }

void LabelPainter::paint(QPainter &painter, const TextRun &run, StrokeBatch &strokes, const QColor &colour)
{
    for (std::size_t i = 0; i < run.text.size(); ++i) {
        const char32_t c = run.text[i];
        const GlyphFrame frame = GlyphFrame::forCharacter(run, i);
        const StrokeFont::Glyph *glyph = m_strokeFont ? m_strokeFont->glyph(c) : nullptr;
        if (!glyph) {
            fillOutline(painter, c, frame, colour);
            continue;
        }
        for (std::size_t stroke = 0; stroke < glyph->strokeCount(); ++stroke) {
            m_points.clear();
            for (std::size_t p = glyph->strokeStarts[stroke]; p < glyph->strokeEnd(stroke); ++p)
                m_points.push_back(m_transform.map(frame.map(glyph->points[p])));
            strokes.addPolyline(painter, m_points, false);
        }
    }
}

bool needsOutlineFont(const Page &page, const StrokeFont *(*strokeFont)())
{
    if (page.texts.empty())
        return false;
    const StrokeFont *font = strokeFont();
    return std::any_of(page.texts.begin(), page.texts.end(), [font](const TextRun &run) {
        return std::any_of(
            run.text.begin(), run.text.end(), [font](char32_t c) { return !font || !font->glyph(c); });
    });
}

void LabelPainter::fillOutline(QPainter &painter, char32_t c, const GlyphFrame &frame, const QColor &colour)
{
    const QPainterPath &outline = m_outlineFont.glyph(c);
    if (outline.isEmpty())
        return;
    const QPointF origin = m_transform.map(frame.origin);
    const QTransform toDevice(m_transform.scaleX() * frame.across.x, -m_transform.scaleY() * frame.across.y,
        m_transform.scaleX() * frame.up.x, -m_transform.scaleY() * frame.up.y, origin.x(), origin.y());
    const QPolygonF box = toDevice.map(QPolygonF(outline.boundingRect()));
    if (std::all_of(box.begin(), box.end(), [this](QPointF p) { return m_clipper.contains(p); })) {
        painter.fillPath(toDevice.map(outline), colour);
        return;
    }
    // Far off the page the outline may hold coordinates QPainter cannot take: clip it first.
    QPainterPath clipped;
    clipped.setFillRule(Qt::WindingFill);
    for (const QPolygonF &polygon : outline.toSubpathPolygons(toDevice)) {
        m_points.assign(polygon.begin(), polygon.end());
        m_clipper.clipPolygon(m_points);
        if (m_points.size() < 3)
            continue;
        clipped.addPolygon(QPolygonF(QList<QPointF>(m_points.begin(), m_points.end())));
        clipped.closeSubpath();
    }
    painter.fillPath(clipped, colour);
}

} // namespace plotviewer
