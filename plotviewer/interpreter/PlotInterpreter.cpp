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

struct Pass
{
    InterpretResult result;
    bool plotSizeCutInk = false;
    std::vector<std::size_t> pagesCutMost;
    bool unshowable = false; // raster data or size stop it, whatever the frame
};

Pass interpretOnce(
    std::string_view bytes, hpgl::PlotSizeOrder plotSizeOrder, std::vector<std::size_t> pagesFittingInk = {})
{
    Pass pass;
    InterpretResult &result = pass.result;
    hpgl::PlotReader reader(bytes);
    hpgl::HpglInterpreter interpreter(bytes.size(), plotSizeOrder, std::move(pagesFittingInk));
    interpreter.run(reader);
    result.plot = std::move(interpreter.displayList());
    pass.pagesCutMost = interpreter.pagesCutMost();
    if (!interpreter.rasterError().empty()) {
        result.error = interpreter.rasterError();
        pass.unshowable = true;
        return pass;
    }
    if (interpreter.overBudget()) {
        result.error = "the plot is too large to display (more than "
            + std::to_string(interpreter.pointBudget()) + " points)";
        pass.unshowable = true;
        return pass;
    }
    pass.plotSizeCutInk = interpreter.plotSizeCutInk();
    if (result.plot.pages.empty())
        result.error = nothingDrawnReason(reader, interpreter);
    return pass;
}

} // namespace

InterpretResult interpretPlot(std::string_view bytes)
{
    try {
        Pass asGiven = interpretOnce(bytes, hpgl::PlotSizeOrder::AsGiven);
        if (asGiven.plotSizeCutInk) {
            // Some CAD exports give PS as width then length: the swapped order wins only where it
            // holds all the ink that the order given cuts away.
            Pass swapped = interpretOnce(bytes, hpgl::PlotSizeOrder::Swapped);
            if (!swapped.plotSizeCutInk && swapped.result.error.empty()) {
                swapped.result.plot.warnings.push_back("the drawing does not fit its plot size (PS); length "
                                                       "and width were swapped to keep all of it");
                return std::move(swapped.result);
            }
        }
        // A frame that would swallow a page's drawing gives way to the drawing on that page.
        if (!asGiven.pagesCutMost.empty() && !asGiven.unshowable)
            return std::move(
                interpretOnce(bytes, hpgl::PlotSizeOrder::AsGiven, std::move(asGiven.pagesCutMost)).result);
        return std::move(asGiven.result);
    } catch (const std::bad_alloc &) {
        return { {}, "not enough memory to interpret the plot" };
    } catch (const std::exception &e) {
        return { {}, std::string("the plot could not be interpreted: ") + e.what() };
    }
}

} // namespace plotviewer
