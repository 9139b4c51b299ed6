#pragma once
// A text dump of what the interpreter made of a plot, the same byte for byte wherever the same display
// list was made: numbers in their shortest form that reads back exactly, strings with every byte
// outside printable ASCII escaped, enumerations by name.

#include "plotviewer/interpreter/PlotInterpreter.h"

#include <string>

namespace plotviewer::portable {

/// Appends the dump of `result` to `out`: its error, its warnings, then each page with its frame,
/// its style tables and its items in painting order with the points, texts and pixels they draw.
void appendDump(std::string &out, const InterpretResult &result);

} // namespace plotviewer::portable
