#pragma once
// What the interpreter produces and the renderer draws: geometry in plotter units (1016 per inch,
// +y up), with every plotter-language rule already applied (scaling, rotation, line types cut
// into dashes, label placement). The renderer needs no knowledge of the language.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace plotviewer {

struct Point
{
    double x = 0;
    double y = 0;
    friend bool operator==(const Point &, const Point &) = default; // makes FillStyle's == usable
};

struct Rect
{
    double left = 0;
    double bottom = 0;
    double right = 0;
    double top = 0;
    bool isEmpty() const { return !(right > left && top > bottom); }
    friend bool operator==(const Rect &, const Rect &) = default;
};

struct Rgb
{
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb &, const Rgb &) = default;
};

/// The paper's colour, which marks in it leave unseen.
inline constexpr Rgb white { 255, 255, 255 };

enum class LineCap : std::uint8_t { Butt, Square, Round };
enum class LineJoin : std::uint8_t { Miter, Bevel, Round };
enum class FillRule : std::uint8_t { EvenOdd, NonZero };
enum class FillPattern : std::uint8_t { Solid, Hatch, CrossHatch };

struct StrokeStyle
{
    Rgb colour;
    double width = 0; // plotter units; 0 is the thinnest line the device can draw
    LineCap cap = LineCap::Butt;
    LineJoin join = LineJoin::Miter;
    double miterLimit = 5;
    double tint = 100; // percent of the colour's strength (SV shading); less lightens it towards white
    int pen = 0; // the plotter pen that draws it; 0 for marks of no pen
    friend bool operator==(const StrokeStyle &, const StrokeStyle &) = default;
};

struct FillStyle
{
    Rgb colour; // the pen's colour, or the average colour of a raster pattern's inked cells
    FillRule rule = FillRule::EvenOdd;
    FillPattern pattern = FillPattern::Solid;
    double hatchSpacing = 0; // plotter units, for the hatch patterns
    double hatchAngle = 0; // degrees counter-clockwise from +x
    Point hatchAnchor; // hatch lines pass through it
    double hatchLineWidth = 0; // plotter units
    /// Percent of the colour's strength: the shading level, or the share of a raster pattern's inked
    /// cells. Less lightens the colour towards white (see Tint.h); the renderer applies it after
    /// the colour mode, so that shading stays a light grey in black and white.
    double tint = 100;
    int pen = 0; // the plotter pen that fills it; 0 for fills of no pen (PCL rectangles)
    friend bool operator==(const FillStyle &, const FillStyle &) = default;
};

/// A run of characters on one line, in fixed pitch: character i stands on the baseline at
/// origin + i * advance, its body spanning `across` (one body width along the baseline) and `up`
/// (one cap height, slanted when the glyphs are). A mirrored glyph has `across` or `up` reversed
/// against the label direction; the advance may run any way (text paths, mirrored strings).
struct TextRun
{
    std::u32string text;
    Point origin;
    Point advance;
    Point up;
    Point across;
    std::uint32_t strokeStyle = 0;
};

/// A range of Page::points making one subpath. A stroked subpath of one point is a dot.
struct PathSpan
{
    std::uint32_t first = 0;
    std::uint32_t count = 0;
    bool closed = false;
};

enum class ItemKind : std::uint8_t { Stroke, Fill, Text, Image };

/// One drawing operation, in painting order. Stroke and Fill items cover `pathCount` consecutive
/// entries of Page::paths starting at `firstPath`; a Text item names one TextRun and an Image item
/// one RasterImage by `firstPath`.
struct Item
{
    ItemKind kind = ItemKind::Stroke;
    std::uint32_t style = 0; // index into strokeStyles or fillStyles
    std::uint32_t firstPath = 0;
    std::uint32_t pathCount = 0;
};

enum class RasterFormat : std::uint8_t {
    Bitmap, // one bit per pixel, most significant bit first: palette[0] or palette[1]
    Indexed, // one byte per pixel, an index into the palette
    Rgb, // three bytes per pixel: red, green, blue
};

/// A raster image: its pixels as the plot file gave them, and where they lie. Pixel (column, row)
/// covers the parallelogram from origin + column * across + row * down.
struct RasterImage
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    RasterFormat format = RasterFormat::Bitmap;
    std::vector<std::uint8_t> pixels; // height rows of bytesPerRow() bytes
    std::vector<Rgb> palette; // Bitmap and Indexed; indexes beyond it are black
    /// White pixels leave what lies below them showing (the printer's source transparency).
    bool whiteIsTransparent = true;
    Point origin;
    Point across;
    Point down;

    std::size_t bytesPerRow() const
    {
        switch (format) {
        case RasterFormat::Bitmap:
            return (std::size_t(width) + 7) / 8;
        case RasterFormat::Indexed:
            return width;
        case RasterFormat::Rgb:
            return std::size_t(width) * 3;
        }
        return 0;
    }
};

/// The finest chords of the curves a page draws with one pen that the plot asked to be drawn in
/// finer chords than by default, in plotter units: the shortest chord, and the least distance of a
/// curve point from the chord joining its two neighbours. Where the output cannot show such chords
/// the renderer draws fewer, and says so.
struct FineCurves
{
    double penWidth = 0; // negative for the edges of filled areas
    double chord = 0;
    double bend = 0;
};

struct Page
{
    /// The page to show and print. Empty when the plot gives no page size; then inkBounds decide.
    Rect frame;
    /// The extent of everything drawn, widened by half the line widths.
    Rect inkBounds;
    std::vector<Item> items;
    std::vector<PathSpan> paths;
    std::vector<Point> points;
    std::vector<StrokeStyle> strokeStyles;
    std::vector<FillStyle> fillStyles;
    std::vector<TextRun> texts;
    std::vector<RasterImage> images;
    std::vector<FineCurves> fineCurves; // one entry a pen width
};

struct DisplayList
{
    std::vector<Page> pages; // only pages with something drawn
    std::vector<std::string> warnings; // one line each, for diagnostics
};

} // namespace plotviewer
