#pragma once
// One unit of the command stream the reader hands to the interpreter: an HP-GL instruction with
// its arguments, or one of the few PCL / PJL events that change how HP-GL is placed on the page.

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
    bool known = false; // name is an HP-GL instruction
    /// Long argument lists arrive in chunks: `continued` marks a chunk after the first,
    /// `more` a chunk that another one follows.
    bool continued = false;
    bool more = false;
    bool unterminated = false; // a label or string that ran into ESC or end of data
    std::vector<double> numbers;
    std::string_view text; // LB/BL/WD label bytes, CO/MG/BP string, DT/SM character
    std::vector<EncodedStep> encoded; // PE
    double value = 0; // PCL events
};

} // namespace plotviewer::hpgl
