#pragma once

#include "DeviceClipper.h"
#include "PageTransform.h"
#include "plotviewer/model/DisplayList.h"

#include <QColor>

#include <vector>

class QPainter;

namespace plotviewer {

struct GlyphFrame;
class OutlineFont;
class StrokeBatch;
class StrokeFont;

/// Draws labels: glyphs of the stroke font as strokes of the run's pen, others as filled outlines.
class LabelPainter
{
public:
    /// `strokeFont` may be null: then every glyph comes from `outlineFont`.
    LabelPainter(const PageTransform &transform, const DeviceClipper &clipper, const StrokeFont *strokeFont,
        OutlineFont &outlineFont);

    /// Stroke glyphs go into `strokes`, which must hold the run's pen; outline glyphs are filled
    /// in `colour` at once.
    void paint(QPainter &painter, const TextRun &run, StrokeBatch &strokes, const QColor &colour);

private:
    void fillOutline(QPainter &painter, char32_t c, const GlyphFrame &frame, const QColor &colour);

    const PageTransform &m_transform;
    const DeviceClipper &m_clipper;
    const StrokeFont *m_strokeFont;
    OutlineFont &m_outlineFont;
    std::vector<QPointF> m_points;
};

/// True when some label of `page` holds a character the font `strokeFont` gives (may be null)
/// lacks, so that painting it needs an outline font and with it the system's font database.
/// `strokeFont` is asked only when the page has labels.
bool needsOutlineFont(const Page &page, const StrokeFont *(*strokeFont)());

} // namespace plotviewer
