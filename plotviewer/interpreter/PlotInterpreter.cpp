#include "PlotInterpreter.h"

#include "HpglInterpreter.h"
#include "plotviewer/reader/PlotReader.h"

#include <algorithm>
#include <exception>
#include <iterator>
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
    std::vector<std::size_t> pageStarts; // see HpglInterpreter::pageStarts
    bool unshowable = false; // raster data or size stop it, whatever the frame
};

Pass interpretOnce(std::string_view bytes, const hpgl::LoadedPens &pens, hpgl::PlotSizeOrder plotSizeOrder,
    std::vector<std::size_t> pagesFittingInk = {})
{
    Pass pass;
    InterpretResult &result = pass.result;
    hpgl::PlotReader reader(bytes);
    hpgl::HpglInterpreter interpreter(bytes.size(), plotSizeOrder, std::move(pagesFittingInk));
    interpreter.loadPens(pens);
    interpreter.run(reader);
    result.plot = std::move(interpreter.displayList());
    pass.pagesCutMost = interpreter.pagesCutMost();
    pass.pageStarts = interpreter.pageStarts();
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

// A frame that would swallow a page's drawing gives way to the drawing on that page. The second
// reading stops after the last such page; the pages after it are the first reading's.
InterpretResult fittedToInk(std::string_view bytes, const hpgl::LoadedPens &pens, Pass asGiven)
{
    Pass fitted = interpretOnce(bytes, pens, hpgl::PlotSizeOrder::AsGiven, std::move(asGiven.pagesCutMost));
    if (fitted.unshowable)
        return std::move(fitted.result);
    std::vector<Page> &pages = fitted.result.plot.pages;
    std::vector<Page> &later = asGiven.result.plot.pages;
    const auto firstLater = later.begin() + std::ptrdiff_t(asGiven.pageStarts[fitted.pageStarts.size() - 1]);
    pages.insert(pages.end(), std::make_move_iterator(firstLater), std::make_move_iterator(later.end()));
    // The first reading saw the whole file; the second adds what it says of the fitted pages.
    std::vector<std::string> &warnings = asGiven.result.plot.warnings;
    for (std::string &warning : fitted.result.plot.warnings) {
        if (std::find(warnings.begin(), warnings.end(), warning) == warnings.end())
            warnings.push_back(std::move(warning));
    }
    fitted.result.plot.warnings = std::move(warnings);
    fitted.result.error = pages.empty() ? asGiven.result.error : std::string();
    return std::move(fitted.result);
}

} // namespace

InterpretResult interpretPlot(std::string_view bytes, const hpgl::LoadedPens &pens)
{
    try {
        Pass asGiven = interpretOnce(bytes, pens, hpgl::PlotSizeOrder::AsGiven);
        if (asGiven.plotSizeCutInk) {
            // Some CAD exports give PS as width then length: the swapped order wins only where it
            // holds all the ink that the order given cuts away.
            Pass swapped = interpretOnce(bytes, pens, hpgl::PlotSizeOrder::Swapped);
            if (!swapped.plotSizeCutInk && swapped.result.error.empty()) {
                swapped.result.plot.warnings.push_back("the drawing does not fit its plot size (PS); length "
                                                       "and width were swapped to keep all of it");
                return std::move(swapped.result);
            }
        }
        if (!asGiven.pagesCutMost.empty() && !asGiven.unshowable)
            return fittedToInk(bytes, pens, std::move(asGiven));
        return std::move(asGiven.result);
    } catch (const std::bad_alloc &) {
        return { {}, "not enough memory to interpret the plot" };
    } catch (const std::exception &e) {
        return { {}, std::string("the plot could not be interpreted: ") + e.what() };
    }
}

} // namespace plotviewer
