#pragma once
// The entry point of the plot reader and interpreter: bytes of an HP-GL / HP-GL/2 file (bare or
// wrapped in PJL / PCL 5) to a display list in plotter units.

#include "LoadedPens.h"
#include "plotviewer/model/DisplayList.h"

#include <string>
#include <string_view>

namespace plotviewer {

struct InterpretResult
{
    DisplayList plot;
    std::string error; // empty on success; otherwise why nothing can be shown (no file name)
};

/// Never throws; memory stays within a few times the input size plus a fixed amount. `pens` are the
/// device's, for the pens the plot does not set itself.
InterpretResult interpretPlot(std::string_view bytes, const hpgl::LoadedPens &pens = {});

} // namespace plotviewer
