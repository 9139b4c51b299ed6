#include "PlotInterpreter.h"

#include "HpglInterpreter.h"
#include "plotviewer/reader/PlotReader.h"

#include <exception>
#include <new>

namespace plotviewer {

namespace {

std::string nothingDrawnReason(const hpgl::PlotReader &reader, const hpgl::HpglInterpreter &interpreter)
{
    if (!reader.unsupportedLanguage().empty())
        return "the file holds " + reader.unsupportedLanguage() + " content, not an HP-GL plot";
    if (!reader.sawKnownInstruction() && reader.sawRasterData())
        return "the file holds only blank PCL raster data, no HP-GL drawing instructions";
    if (!reader.sawKnownInstruction() || !interpreter.triedToDraw())
        return "no HP-GL drawing instructions found";
    return "the plot draws nothing visible";
}

} // namespace

InterpretResult interpretPlot(std::string_view bytes, const hpgl::LoadedPens &pens)
{
    try {
        InterpretResult result;
        hpgl::PlotReader reader(bytes);
        hpgl::HpglInterpreter interpreter(bytes.size());
        interpreter.loadPens(pens);
        interpreter.run(reader);
        result.plot = std::move(interpreter.displayList());
        if (!interpreter.rasterError().empty())
            result.error = interpreter.rasterError();
        else if (interpreter.overBudget())
            result.error = "the plot is too large to display (more than "
                + std::to_string(interpreter.pointBudget()) + " points)";
        else if (result.plot.pages.empty())
            result.error = nothingDrawnReason(reader, interpreter);
        return result;
    } catch (const std::bad_alloc &) {
        return { {}, "not enough memory to interpret the plot" };
    } catch (const std::exception &e) {
        return { {}, std::string("the plot could not be interpreted: ") + e.what() };
    }
}

} // namespace plotviewer
