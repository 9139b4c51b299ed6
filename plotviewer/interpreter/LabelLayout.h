#pragma once
// Places the characters of one LB label as fixed-pitch TextRuns: label origin (LO), text path,
// carriage return, line feed and backspace, switching fonts on SO/SI. Works in plotter units of the
// rotated system; the caller maps the result to the page.

#include "CharacterSet.h"
#include "plotviewer/model/DisplayList.h"

#include <string_view>
#include <vector>

namespace plotviewer::hpgl {

/// Control bytes in a label that shift to the alternate font (SO) and back to the standard one (SI).
constexpr unsigned char shiftOut = 14;
constexpr unsigned char shiftIn = 15;

/// Which way characters follow each other (DV): along the label direction, or turned from it.
enum class LabelPath : unsigned char { Right, Down, Left, Up };

/// One resolved font (standard or alternate), in plotter units.
struct LabelFont
{
    Point advance; // one character step along the text path, extra space included
    Point lineFeed; // one line feed
    Point up; // the glyph's up vector, cap height long (slanted when SL is set)
    Point upUnit; // perpendicular to the label direction
    Point across; // one glyph body width along the label direction, reversed when mirrored
    double glyphExtent = 0; // a glyph's extent along the path (for centring)
    double capHeight = 0;
    CharacterSet characterSet;
};

class LabelLayout
{
public:
    struct Result
    {
        std::vector<TextRun> runs;
        Point pen; // where the pen is left
        Point carriageReturn;
        bool alternate = false; // font selected at the end
    };

    /// `fonts[0]` standard, `fonts[1]` alternate. `origin` is the LO value, `path` the DV path.
    static Result layout(std::string_view text, Point start, Point carriageReturn,
        const LabelFont (&fonts)[2], bool alternate, int origin, LabelPath path, bool transparent);

    /// Whether the pen moves on after a label for this origin and path (otherwise it returns).
    static bool concatenates(int origin, LabelPath path);
};

} // namespace plotviewer::hpgl
