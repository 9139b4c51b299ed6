#include "LabelState.h"

#include "CharacterSet.h"
#include "InstructionArguments.h"
#include "plotviewer/model/Geometry.h"
#include "plotviewer/model/PlotUnits.h"

#include <algorithm>
#include <cmath>

namespace plotviewer::hpgl {

void LabelState::setFontDefinition(bool alternate, const std::vector<double> &n)
{
    FontDefinition &definition = alternate ? m_alternateFont : m_standardFont;
    if (n.empty()) {
        definition = {};
        return;
    }
    for (std::size_t i = 0; i + 1 < n.size(); i += 2) {
        const double kind = std::round(n[i]);
        const double value = n[i + 1];
        if (!std::isfinite(value))
            continue;
        if (kind == 1)
            definition.symbolSet = std::clamp(value, 0.0, 65535.0);
        else if (kind == 2)
            definition.proportional = value == 1;
        else if (kind == 3 && value > 0)
            definition.pitch = std::clamp(value, 0.01, 1000.0);
        else if (kind == 4 && value > 0)
            definition.height = std::clamp(value, 0.01, 10000.0);
    }
}

void LabelState::setSize(bool relative, const std::vector<double> &n)
{
    if (n.empty()) {
        // SR alone is 0.75 % by 1.5 % of P2-P1; SI alone returns to the font's own size.
        m_sizeMode = relative ? SizeMode::Relative : SizeMode::Font;
        if (relative)
            m_size = { 0.75, 1.5 };
    } else if (n.size() >= 2 && allFinite(n) && n[0] != 0 && n[1] != 0) {
        m_sizeMode = relative ? SizeMode::Relative : SizeMode::Absolute;
        m_size = { std::clamp(n[0], -1e4, 1e4), std::clamp(n[1], -1e4, 1e4) };
    }
}

void LabelState::setDirection(bool relative, const std::vector<double> &n)
{
    if (n.empty()) {
        m_relativeDirection = relative;
        m_direction = { 1, 0 };
    } else if (n.size() >= 2 && allFinite(n) && (n[0] != 0 || n[1] != 0)) {
        m_relativeDirection = relative;
        m_direction = { n[0], n[1] };
    }
}

void LabelState::setPath(const std::vector<double> &n)
{
    m_path = static_cast<LabelPath>(std::clamp(std::round(argument(n, 0, 0)), 0.0, 3.0));
    m_reverseLineFeed = argument(n, 1, 0) == 1;
}

void LabelState::setOrigin(const std::vector<double> &n)
{
    const int origin = static_cast<int>(std::round(std::clamp(argument(n, 0, 1), 0.0, 99.0)));
    if ((origin >= 1 && origin <= 9) || (origin >= 11 && origin <= 19) || origin == 21)
        m_origin = origin;
}

void LabelState::setExtraSpace(const std::vector<double> &n)
{
    m_extraSpace
        = { std::clamp(argument(n, 0, 0), -100.0, 100.0), std::clamp(argument(n, 1, 0), -100.0, 100.0) };
}

void LabelState::setSlant(const std::vector<double> &n)
{
    m_slant = std::clamp(argument(n, 0, 0), -1e3, 1e3);
}

void LabelState::setTransparentData(const std::vector<double> &n)
{
    m_transparentData = argument(n, 0, 0) == 1;
}

void LabelState::setSymbol(std::string_view text)
{
    m_symbol.clear();
    if (!text.empty())
        m_symbol.push_back(CharacterSet().decode(static_cast<unsigned char>(text[0])));
}

LabelFont LabelState::font(bool alternate, Point p1, Point p2) const
{
    const FontDefinition &definition = alternate ? m_alternateFont : m_standardFont;
    double width = 0; // glyph body
    double height = 0; // cap height
    double cell = 0;
    double line = 0;
    switch (m_sizeMode) {
    case SizeMode::Absolute:
        width = m_size.x * 400;
        height = m_size.y * 400;
        break;
    case SizeMode::Relative:
        width = m_size.x / 100 * (p2.x - p1.x);
        height = m_size.y / 100 * (p2.y - p1.y);
        break;
    case SizeMode::Font:
        // A proportional font has no pitch: its characters grow with its height, here in the
        // proportions of the default font (9 characters per inch at 11.5 points).
        cell = definition.proportional ? plotUnitsPerInch / 9 * definition.height / 11.5
                                       : plotUnitsPerInch / definition.pitch;
        width = cell * 2 / 3;
        height = definition.height * plotUnitsPerInch / 72 * 2 / 3;
        line = definition.height * plotUnitsPerInch / 72 * 4 / 3;
        break;
    }
    if (m_sizeMode != SizeMode::Font) {
        cell = 1.5 * width;
        line = 2 * height;
    }
    const Point rawDirection = m_relativeDirection
        ? Point { m_direction.x / 100 * (p2.x - p1.x), m_direction.y / 100 * (p2.y - p1.y) }
        : m_direction;
    const Point along = unit(rawDirection);
    const Point normal { -along.y, along.x };
    const double step = cell * (1 + m_extraSpace.x);
    const double lineStep = std::abs(line) * (1 + m_extraSpace.y);
    LabelFont font;
    switch (m_path) {
    case LabelPath::Down:
        font.advance = scaled(normal, -lineStep);
        font.lineFeed = scaled(along, -std::abs(step));
        break;
    case LabelPath::Left:
        // Line feeds turn clockwise from the text path: up when it runs left.
        font.advance = scaled(along, -step);
        font.lineFeed = scaled(normal, lineStep);
        break;
    case LabelPath::Up:
        font.advance = scaled(normal, lineStep);
        font.lineFeed = scaled(along, std::abs(step));
        break;
    case LabelPath::Right:
        font.advance = scaled(along, step);
        font.lineFeed = scaled(normal, -lineStep);
        break;
    }
    if (m_reverseLineFeed)
        font.lineFeed = scaled(font.lineFeed, -1);
    font.up = add(scaled(normal, height), scaled(along, height * m_slant));
    font.upUnit = normal;
    font.bodyWidth = std::abs(width);
    font.glyphExtent
        = m_path == LabelPath::Down || m_path == LabelPath::Up ? std::abs(height) : std::abs(width);
    font.capHeight = height;
    font.symbolSet = static_cast<int>(definition.symbolSet);
    return font;
}

TextRun LabelState::symbolRun(Point at, Point p1, Point p2) const
{
    const LabelFont font = currentFont(p1, p2);
    TextRun run;
    run.text = m_symbol;
    run.advance = font.advance;
    run.up = font.up;
    run.width = font.bodyWidth;
    const Point centreOffset = add(scaled(unit(font.advance), -font.bodyWidth / 2), scaled(font.up, -0.5));
    run.origin = add(at, centreOffset);
    return run;
}

} // namespace plotviewer::hpgl
