#include "OutlineFont.h"

#include <QFontMetricsF>
#include <QTransform>

namespace plotviewer {

namespace {

// Large enough that hinting does not distort the outlines we scale afterwards.
constexpr int designPixelSize = 200;

} // namespace

void OutlineFont::setUp()
{
    // Done on the first glyph: loading the font takes longer than most plots take to draw.
    m_font.emplace();
    m_font->setStyleHint(QFont::SansSerif);
    m_font->setFamily(QStringLiteral("Sans Serif"));
    m_font->setPixelSize(designPixelSize);
    m_font->setHintingPreference(QFont::PreferNoHinting);
    const QFontMetricsF metrics(*m_font);
    if (metrics.capHeight() > 0)
        m_capHeight = metrics.capHeight();
    const double body = metrics.tightBoundingRect(QStringLiteral("M")).width();
    if (body > 0)
        m_bodyWidth = body;
}

const QPainterPath &OutlineFont::glyph(char32_t c)
{
    const auto found = m_glyphs.find(c);
    if (found != m_glyphs.end())
        return found->second;
    if (!m_font)
        setUp();
    const QString text = QString::fromUcs4(&c, 1);
    QPainterPath outline;
    outline.addText(0, 0, *m_font, text);
    // Font space has y down from the baseline; centre the advance on the glyph body.
    const double advance = QFontMetricsF(*m_font).horizontalAdvance(text);
    QTransform toGlyph;
    toGlyph.translate(0.5, 0);
    toGlyph.scale(1 / m_bodyWidth, -1 / m_capHeight);
    toGlyph.translate(-advance / 2, 0);
    QPainterPath glyph = toGlyph.map(outline);
    glyph.setFillRule(Qt::WindingFill);
    return m_glyphs.emplace(c, std::move(glyph)).first->second;
}

} // namespace plotviewer
