#include "DisplayListDump.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

namespace plotviewer::portable {
namespace {

constexpr std::string_view hexDigits = "0123456789abcdef";

// std::to_chars knows no locale, and for a double gives the shortest text that reads back as the
// very same value, so two dumps match exactly when the numbers do.
template<typename Number>
requires std::is_arithmetic_v<Number>
void appendNumber(std::string &out, Number value)
{
    char text[32];
    out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

template<typename Number>
requires std::is_arithmetic_v<Number>
void appendField(std::string &out, std::string_view name, Number value)
{
    out += ' ';
    out += name;
    out += ' ';
    appendNumber(out, value);
}

void appendField(std::string &out, std::string_view name, std::string_view value)
{
    out += ' ';
    out += name;
    out += ' ';
    out += value;
}

void appendCoordinates(std::string &out, Point p)
{
    for (double coordinate : { p.x, p.y }) {
        out += ' ';
        appendNumber(out, coordinate);
    }
}

void appendField(std::string &out, std::string_view name, Point p)
{
    out += ' ';
    out += name;
    appendCoordinates(out, p);
}

void appendField(std::string &out, std::string_view name, const Rect &r)
{
    out += ' ';
    out += name;
    for (double side : { r.left, r.bottom, r.right, r.top }) {
        out += ' ';
        appendNumber(out, side);
    }
}

void appendHexByte(std::string &out, std::uint8_t byte)
{
    out += hexDigits[byte >> 4];
    out += hexDigits[byte & 0xf];
}

void appendColour(std::string &out, Rgb colour)
{
    out += " #";
    for (std::uint8_t channel : { colour.r, colour.g, colour.b })
        appendHexByte(out, channel);
}

// Printable ASCII as it is; quotes, backslashes and every other byte or character as \x{hex}.
template<typename Char> void appendQuoted(std::string &out, std::basic_string_view<Char> text)
{
    out += " \"";
    for (Char c : text) {
        const auto code = static_cast<std::make_unsigned_t<Char>>(c);
        if (code >= 0x20 && code < 0x7f && code != '"' && code != '\\') {
            out += static_cast<char>(code);
            continue;
        }
        out += "\\x{";
        char digits[16];
        out.append(digits, std::to_chars(digits, digits + sizeof digits, code, 16).ptr);
        out += '}';
    }
    out += '"';
}

std::string_view name(LineCap cap)
{
    switch (cap) {
    case LineCap::Butt:
        return "butt";
    case LineCap::Square:
        return "square";
    case LineCap::Round:
        return "round";
    }
    return "invalid";
}

std::string_view name(LineJoin join)
{
    switch (join) {
    case LineJoin::Miter:
        return "miter";
    case LineJoin::Bevel:
        return "bevel";
    case LineJoin::Round:
        return "round";
    }
    return "invalid";
}

std::string_view name(FillRule rule)
{
    switch (rule) {
    case FillRule::EvenOdd:
        return "even-odd";
    case FillRule::NonZero:
        return "non-zero";
    }
    return "invalid";
}

std::string_view name(FillPattern pattern)
{
    switch (pattern) {
    case FillPattern::Solid:
        return "solid";
    case FillPattern::Hatch:
        return "hatch";
    case FillPattern::CrossHatch:
        return "cross-hatch";
    }
    return "invalid";
}

std::string_view name(RasterFormat format)
{
    switch (format) {
    case RasterFormat::Bitmap:
        return "bitmap";
    case RasterFormat::Indexed:
        return "indexed";
    case RasterFormat::Rgb:
        return "rgb";
    }
    return "invalid";
}

void appendStyles(std::string &out, const Page &page)
{
    for (std::size_t i = 0; i < page.strokeStyles.size(); ++i) {
        const StrokeStyle &style = page.strokeStyles[i];
        out += "stroke-style ";
        appendNumber(out, i);
        out += " colour";
        appendColour(out, style.colour);
        appendField(out, "width", style.width);
        appendField(out, "cap", name(style.cap));
        appendField(out, "join", name(style.join));
        appendField(out, "miter-limit", style.miterLimit);
        appendField(out, "tint", style.tint);
        appendField(out, "pen", style.pen);
        out += '\n';
    }
    for (std::size_t i = 0; i < page.fillStyles.size(); ++i) {
        const FillStyle &style = page.fillStyles[i];
        out += "fill-style ";
        appendNumber(out, i);
        out += " colour";
        appendColour(out, style.colour);
        appendField(out, "rule", name(style.rule));
        appendField(out, "pattern", name(style.pattern));
        appendField(out, "hatch-spacing", style.hatchSpacing);
        appendField(out, "hatch-angle", style.hatchAngle);
        appendField(out, "hatch-anchor", style.hatchAnchor);
        appendField(out, "hatch-line-width", style.hatchLineWidth);
        appendField(out, "tint", style.tint);
        appendField(out, "pen", style.pen);
        out += '\n';
    }
    for (const FineCurves &fine : page.fineCurves) {
        out += "fine-curves";
        appendField(out, "pen-width", fine.penWidth);
        appendField(out, "chord", fine.chord);
        appendField(out, "bend", fine.bend);
        out += '\n';
    }
}

// One point a line, so that a difference shows at the point where it starts.
void appendPaths(std::string &out, const Page &page, const Item &item)
{
    for (std::size_t k = item.firstPath; k < std::size_t(item.firstPath) + item.pathCount; ++k) {
        const PathSpan &span = page.paths.at(k);
        out += span.closed ? " path closed\n" : " path open\n";
        for (std::size_t p = span.first; p < std::size_t(span.first) + span.count; ++p) {
            out += ' ';
            appendCoordinates(out, page.points.at(p));
            out += '\n';
        }
    }
}

void appendText(std::string &out, const TextRun &run)
{
    appendField(out, "run-style", run.strokeStyle);
    appendQuoted(out, std::u32string_view(run.text));
    appendField(out, "origin", run.origin);
    appendField(out, "advance", run.advance);
    appendField(out, "up", run.up);
    appendField(out, "across", run.across);
    out += '\n';
}

void appendImage(std::string &out, const RasterImage &image)
{
    appendField(out, "width", image.width);
    appendField(out, "height", image.height);
    appendField(out, "format", name(image.format));
    appendField(out, "white", image.whiteIsTransparent ? "transparent" : "opaque");
    appendField(out, "origin", image.origin);
    appendField(out, "across", image.across);
    appendField(out, "down", image.down);
    out += "\n palette";
    for (Rgb colour : image.palette)
        appendColour(out, colour);
    out += '\n';
    const std::size_t rowBytes = image.bytesPerRow();
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        if (rowBytes == 0 || i % rowBytes == 0)
            out += i == 0 ? " row " : "\n row ";
        appendHexByte(out, image.pixels[i]);
    }
    if (!image.pixels.empty())
        out += '\n';
}

void appendPage(std::string &out, const Page &page)
{
    appendField(out, "frame", page.frame);
    appendField(out, "ink", page.inkBounds);
    out += '\n';
    appendStyles(out, page);
    for (const Item &item : page.items) {
        switch (item.kind) {
        case ItemKind::Stroke:
        case ItemKind::Fill:
            out += item.kind == ItemKind::Stroke ? "stroke" : "fill";
            appendField(out, "style", item.style);
            out += '\n';
            appendPaths(out, page, item);
            break;
        case ItemKind::Text:
            out += "text";
            appendField(out, "style", item.style);
            appendText(out, page.texts.at(item.firstPath));
            break;
        case ItemKind::Image:
            out += "image";
            appendImage(out, page.images.at(item.firstPath));
            break;
        }
    }
}

} // namespace

void appendDump(std::string &out, const InterpretResult &result)
{
    if (!result.error.empty()) {
        out += "error";
        appendQuoted(out, std::string_view(result.error));
        out += '\n';
    }
    for (const std::string &warning : result.plot.warnings) {
        out += "warning";
        appendQuoted(out, std::string_view(warning));
        out += '\n';
    }
    for (std::size_t i = 0; i < result.plot.pages.size(); ++i) {
        out += "page ";
        appendNumber(out, i + 1);
        appendPage(out, result.plot.pages[i]);
    }
}

} // namespace plotviewer::portable
