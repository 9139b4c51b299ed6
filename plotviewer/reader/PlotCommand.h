#pragma once
// One unit of the command stream the reader hands to the interpreter: an HP-GL instruction with
// its arguments, or one of the PCL / PJL events that place HP-GL on the page or build raster images.

#include "Instruction.h"
#include "Mnemonic.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace plotviewer::hpgl {

enum class CommandKind : std::uint8_t {
    Instruction, // mnemonic with numbers, text or encoded steps
    EnterHpgl, // ESC%#B, value = the mode
    PclReset, // ESC E
    JobBoundary, // UEL: a new job starts
    PageSize, // ESC&l#A, value = PCL page-size code
    Orientation, // ESC&l#O
    PictureFrameWidth, // ESC*c#X, decipoints
    PictureFrameHeight, // ESC*c#Y, decipoints
    PlotSizeWidth, // ESC*c#K, inches
    PlotSizeHeight, // ESC*c#L, inches
    PictureFrameAnchor, // ESC*c0T
    EnterPcl, // ESC%#A, value = 1 to put the PCL cursor at the pen
    PclGraphics, // a cursor or raster sequence, named by PlotCommand::graphics
    PageEject, // ESC&l#H (paper source) or form feed in PCL: the page is printed
    TopMargin, // ESC&l#E, lines
    LeftOffset, // ESC&l#U, decipoints: the logical page moves right on the paper
    TopOffset, // ESC&l#Z, decipoints: down
    LineSpacing, // ESC&l#C, 1/48 inch per line
    LinesPerInch, // ESC&l#D
    PclText, // printable characters in PCL, which are not drawn
};

/// The PCL sequences that move the cursor and build raster images.
enum class PclGraphics : std::uint8_t {
    StartRaster, // ESC*r#A, value = 0 at the left edge, 1 at the cursor
    EndRaster, // ESC*rB
    EndRasterAndReset, // ESC*rC: also back to unencoded rows
    Resolution, // ESC*t#R, dots per inch
    SourceWidth, // ESC*r#S, pixels
    SourceHeight, // ESC*r#T, rows
    Compression, // ESC*b#M
    TransferRow, // ESC*b#W, text = the data
    TransferPlane, // ESC*b#V, text = the data
    YOffset, // ESC*b#Y, rows to skip
    ConfigureImageData, // ESC*v#W, text = the configuration
    PaletteRed, // ESC*v#A, the first colour component
    PaletteGreen, // ESC*v#B
    PaletteBlue, // ESC*v#C
    PaletteAssign, // ESC*v#I, value = the palette index
    SimpleColour, // ESC*r#U
    SourceTransparency, // ESC*v#N, 0 = white pixels transparent
    Presentation, // ESC*r#F
    CursorX, // ESC*p#X, PCL units; `relative` with a sign
    CursorY, // ESC*p#Y
    CursorXDecipoints, // ESC&a#H
    CursorYDecipoints, // ESC&a#V
    UnitOfMeasure, // ESC&u#D, PCL units per inch
    RectangleWidth, // ESC*c#A, PCL units
    RectangleHeight, // ESC*c#B, PCL units
    RectangleWidthDecipoints, // ESC*c#H
    RectangleHeightDecipoints, // ESC*c#V
    AreaFill, // ESC*c#G: the shading level, cross-hatch or user pattern of the next fill, and the
              // ID of the next user pattern
    FillRectangle, // ESC*c#P: 0 solid, 1 white, 2 shading, 3 cross-hatch, 4 user pattern, 5 current
    UserPattern, // ESC*c#W, text = the pattern
    CurrentPattern, // ESC*v#T
    ConfigureRasterData, // ESC*g#W: the raster format of later inkjets, text = the configuration
};

/// One decoded element of a PE (polyline encoded) instruction, in current units.
struct EncodedStep
{
    enum class Kind : std::uint8_t { Point, SelectPen };
    Kind kind = Kind::Point;
    bool penUp = false;
    bool absolute = false;
    double x = 0; // the pen number for SelectPen
    double y = 0;
};

struct PlotCommand
{
    CommandKind kind = CommandKind::Instruction;
    Mnemonic name = 0;
    bool known = false; // name is an HP-GL instruction: `instruction`
    Instruction instruction = Instruction::AA;
    /// Long argument lists arrive in chunks: `continued` marks a chunk after the first,
    /// `more` a chunk that another one follows.
    bool continued = false;
    bool more = false;
    /// A label or string that ran into ESC or end of data, or a PCL payload cut short by the end.
    bool unterminated = false;
    std::vector<double> numbers;
    std::string_view text; // LB/BL/WD label bytes, CO/MG/BP string, DT/SM character, PCL payload
    std::vector<EncodedStep> encoded; // PE
    double value = 0; // PCL events
    PclGraphics graphics = PclGraphics::StartRaster; // for CommandKind::PclGraphics
    bool relative = false; // a signed PCL value: a move from the cursor
};

} // namespace plotviewer::hpgl
