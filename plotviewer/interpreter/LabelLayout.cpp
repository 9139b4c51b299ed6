#include "LabelLayout.h"

#include "CharacterSet.h"
#include "plotviewer/model/Geometry.h"

#include <algorithm>
#include <cmath>

namespace plotviewer::hpgl {

namespace {

constexpr unsigned char backspace = 8;
constexpr unsigned char lineFeed = 10;
constexpr unsigned char carriageReturn = 13;

// The box of one label line's glyphs, relative to its first character's origin, in the frame of the
// label direction: `along` it and `up` square to it.
struct LineBox
{
    double left = 0;
    double right = 0;
    double bottom = 0;
    double top = 0;
};

// Walks the line that starts at `begin` (up to the next CR or LF) as layout() places it, switching
// fonts on SO/SI and stepping back on BS.
LineBox measureLine(
    std::string_view text, std::size_t begin, const LabelFont (&fonts)[2], bool alternate, bool transparent)
{
    const Point up = fonts[0].upUnit;
    const Point along { up.y, -up.x }; // glyph bodies extend this way
    LineBox box;
    bool empty = true;
    Point cursor {};
    const LabelFont *font = &fonts[alternate ? 1 : 0];
    for (std::size_t i = begin; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!transparent && c < ' ') {
            if (c == carriageReturn || c == lineFeed)
                break;
            if (c == backspace)
                cursor = add(cursor, scaled(font->advance, -1));
            else if (c == shiftOut || c == shiftIn)
                font = &fonts[c == shiftOut ? 1 : 0];
            continue;
        }
        const double x = dot(cursor, along);
        const double y = dot(cursor, up);
        const double width = dot(font->across, along);
        const LineBox glyph { std::min(x, x + width), std::max(x, x + width),
            std::min(y, y + font->capHeight), std::max(y, y + font->capHeight) };
        box = empty ? glyph
                    : LineBox { std::min(box.left, glyph.left), std::max(box.right, glyph.right),
                          std::min(box.bottom, glyph.bottom), std::max(box.top, glyph.top) };
        empty = false;
        cursor = add(cursor, font->advance);
    }
    if (empty) // no characters: only the vertical placement of the font applies
        box = { 0, 0, std::min(0.0, font->capHeight), std::max(0.0, font->capHeight) };
    return box;
}

// Where the first character of a line goes relative to the current point, for label origin `origin`.
// The origin picks a point of the line's box in the label direction's frame (left, centre or right;
// baseline, half or cap height), whichever way the text path runs: a label running down with LO1
// ends at the point, one with LO3 starts there.
Point originOffset(const LabelFont &font, int origin, const LineBox &box)
{
    if (origin == 21 || origin < 1 || origin > 19 || origin == 10)
        origin = 1;
    const int position = origin > 10 ? origin - 10 : origin;
    const int horizontal = (position - 1) / 3; // left, centre, right
    const int vertical = (position - 1) % 3; // baseline, half cap height, cap height
    const Point up = font.upUnit;
    const Point along { up.y, -up.x };
    // Mirrored glyphs (a negative height) hang below the baseline: their cap line is the bottom.
    const double baseline = font.capHeight >= 0 ? box.bottom : box.top;
    const double capLine = font.capHeight >= 0 ? box.top : box.bottom;
    // A mirrored string (a negative width) starts at its right end: it is mirrored about the point.
    const bool mirrored = dot(font.across, along) < 0;
    const double start = mirrored ? box.right : box.left;
    const double end = mirrored ? box.left : box.right;
    Point offset = add(scaled(along, -(start + (end - start) * horizontal / 2)),
        scaled(up, -(baseline + (capLine - baseline) * vertical / 2)));
    if (origin > 10) {
        const double away = font.capHeight / 2;
        const double awayAlong = mirrored ? -std::abs(away) : std::abs(away);
        if (horizontal != 1)
            offset = add(offset, scaled(along, horizontal == 0 ? awayAlong : -awayAlong));
        if (vertical != 1)
            offset = add(offset, scaled(up, vertical == 0 ? away : -away));
    }
    return offset;
}

} // namespace

bool LabelLayout::concatenates(int origin, LabelPath path)
{
    switch (path) {
    case LabelPath::Down:
        return origin == 3 || origin == 6 || origin == 9 || origin == 13 || origin == 16 || origin == 19;
    case LabelPath::Left:
        return origin == 7 || origin == 8 || origin == 9 || origin == 17 || origin == 18 || origin == 19;
    case LabelPath::Up:
        return origin == 1 || origin == 4 || origin == 7 || origin == 11 || origin == 14 || origin == 17
            || origin == 21;
    case LabelPath::Right:
        break;
    }
    return origin == 1 || origin == 2 || origin == 3 || origin == 11 || origin == 12 || origin == 13
        || origin == 21;
}

LabelLayout::Result LabelLayout::layout(std::string_view text, Point start, Point carriageReturnPoint,
    const LabelFont (&fonts)[2], bool alternate, int origin, LabelPath path, bool transparent)
{
    Result result;
    result.alternate = alternate;
    Point cursor = start;
    Point lineStart = carriageReturnPoint;
    Point lineFeeds {}; // how far the label's line feeds moved the carriage-return point
    const LabelFont *font = &fonts[alternate ? 1 : 0];
    Point offset = originOffset(*font, origin, measureLine(text, 0, fonts, alternate, transparent));
    TextRun run;
    auto flush = [&] {
        if (!run.text.empty())
            result.runs.push_back(run);
        run.text.clear();
    };
    auto newLine = [&](std::size_t next) {
        flush();
        offset = originOffset(*font, origin, measureLine(text, next, fonts, result.alternate, transparent));
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!transparent && byte < ' ') {
            switch (byte) {
            case backspace:
                flush();
                cursor = add(cursor, scaled(font->advance, -1));
                break;
            case lineFeed:
                cursor = add(cursor, font->lineFeed);
                lineStart = add(lineStart, font->lineFeed);
                lineFeeds = add(lineFeeds, font->lineFeed);
                newLine(i + 1);
                break;
            case carriageReturn:
                cursor = lineStart;
                newLine(i + 1);
                break;
            case shiftOut:
            case shiftIn:
                flush();
                result.alternate = byte == shiftOut;
                font = &fonts[result.alternate ? 1 : 0];
                break;
            default:
                break;
            }
            continue;
        }
        const char32_t character = transparent && byte < ' ' ? byte : font->characterSet.decode(byte);
        if (run.text.empty()) {
            run.origin = add(cursor, offset);
            run.advance = font->advance;
            run.up = font->up;
            run.across = font->across;
        }
        run.text.push_back(character ? character : U' ');
        cursor = add(cursor, font->advance);
    }
    flush();
    // A label that does not run on leaves the pen where it started, but a line feed in it still
    // moves the next label down a line, as centred lines sent one label each expect.
    result.pen = concatenates(origin, path) ? cursor : add(start, lineFeeds);
    result.carriageReturn = lineStart;
    return result;
}

} // namespace plotviewer::hpgl
