#pragma once

#include <QFont>
#include <QPainterPath>

#include <optional>
#include <unordered_map>

namespace plotviewer {

/// Filled glyph outlines from a sans font, in the same normalised glyph coordinates as
/// StrokeFont (x in body widths, y in cap heights above the baseline). Labels use it for
/// characters the stroke font lacks, or for all of them when no stroke font is installed.
class OutlineFont
{
public:
    /// The outline for `c`; built on first use.
    const QPainterPath &glyph(char32_t c);

private:
    void setUp();

    std::optional<QFont> m_font;
    double m_capHeight = 1;
    double m_bodyWidth = 1;
    std::unordered_map<char32_t, QPainterPath> m_glyphs;
};

} // namespace plotviewer
