#pragma once
// The HP-GL/2 state machine: executes the reader's commands and builds a DisplayList in plotter
// units, with scaling, rotation, line types, fills, labels and clipping already applied. The state
// it keeps is split by what owns it: the page set-up, the coordinate system, the pens, line and fill
// attributes, the label state, the pen's place; this class dispatches the instructions and keeps
// the pending line, what the pen has drawn since it went down, stroked once that line ends.

#include "CoordinateSystem.h"
#include "FillAttributes.h"
#include "LabelState.h"
#include "LineAttributes.h"
#include "LinePattern.h"
#include "PageBuilder.h"
#include "PageSetup.h"
#include "PclPageGraphics.h"
#include "PenPalette.h"
#include "PenState.h"
#include "PlotSizeSwap.h"
#include "PolygonBuffer.h"
#include "UnknownInstructions.h"
#include "UserCharacters.h"
#include "plotviewer/reader/PlotCommand.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace plotviewer::hpgl {

class PlotReader;

class HpglInterpreter
{
public:
    /// The point budget grows with the input: a fixed amount plus a share of its size.
    explicit HpglInterpreter(std::size_t inputSize);

    /// The device's pens, for whatever the plot does not set itself; before `run`.
    void loadPens(const LoadedPens &pens) { m_pens.load(pens); }
    /// Executes every command of `reader`, then finishes the last page.
    void run(PlotReader &reader);

    DisplayList &displayList() { return m_result; }
    bool overBudget() const { return m_page.overBudget() || m_polygonOverBudget; }
    std::size_t pointBudget() const { return m_pointBudget; }
    /// Whether any instruction tried to put ink on the page (visible or not).
    bool triedToDraw() const { return m_triedToDraw; }
    /// Why raster data stops the plot from being shown, or empty.
    const std::string &rasterError() const { return m_raster.error(); }

private:
    /// Runs an instruction: `first` unless it is a later chunk of a long argument list.
    using InstructionHandler = void (*)(HpglInterpreter &, const PlotCommand &command, bool first);
    /// The handler of each instruction, by its index; null for those parsed and deliberately ignored.
    static const std::array<InstructionHandler, instructionCount> &instructionHandlers();

    void execute(const PlotCommand &command);
    void executeInstruction(const PlotCommand &command);
    void pclEvent(const PlotCommand &command);
    void pclGraphics(const PlotCommand &command);

    // Configuration
    void initialize();
    void setDefaults();
    void applyFrame();
    void updateClip();
    void plotSize(const std::vector<double> &n);
    void inputP1P2(const std::vector<double> &n, bool relative);
    void inputWindow(const std::vector<double> &n);
    void scale(const std::vector<double> &n);
    void rotate(const std::vector<double> &n);
    void finishPage();
    void closePage();
    Rect framePage();
    void startPage();
    void updateSwapFrame();

    // Pen movement and drawing
    void penMove(const PlotCommand &command, bool penDownChange, bool down);
    void moveTo(Point target, bool draw);
    void endPendingLine();
    void strokePolyline(std::span<const Point> polyline);
    void encodedPolyline(const PlotCommand &command);
    void selectPen(double number);
    void arc(const std::vector<double> &n, bool relative);
    void arcThreePoint(const std::vector<double> &n, bool relative);
    void circle(const std::vector<double> &n);
    void bezier(const std::vector<double> &n, bool relative);
    void drawUserPolyline(const std::vector<Point> &userPoints);
    /// Notes the `count` points of an arc in user units on the page when its chord argument
    /// `n[index]` asks for finer chords than the default; `area` when they outline a filled area.
    void noteFineCurve(
        const std::vector<double> &n, std::size_t index, const Point *arc, std::size_t count, bool area);
    void ticks(bool vertical);

    // Polygons and fills
    void polygonMode(const std::vector<double> &n);
    void rectangle(const std::vector<double> &n, bool relative, bool fill, bool keepBuffer);
    void wedge(const std::vector<double> &n, bool fill);
    void fillPolygon(double rule);
    void edgePolygon();
    void anchorCorner(const std::vector<double> &n);
    bool penVisible() const;
    bool inkVisible(Rgb colour) const;
    StrokeStyle strokeStyle() const;
    FillStyle fillStyle(FillRule rule) const;

    // Labels
    void label(const PlotCommand &command);
    void symbol(Point at);
    void characterPlot(const std::vector<double> &n);
    void drawTextRuns(std::vector<TextRun> runs);
    void userCharacter(const std::vector<double> &n);

    void warnOnce(const std::string &text);
    void ensurePenSelected();
    void markPage(bool hatched = false);
    double deviceScale() const;
    Point origin() const { return m_coords.rotatedToOutput().map({ 0, 0 }); }
    Point userPosition() const { return m_coords.outputToUser().map(m_penState.position); }
    Point toRotated(Point output) const;

    std::size_t m_pointBudget;
    DisplayList m_result;
    PageBuilder m_page;
    PclPageGraphics m_raster;
    PageSetup m_setup;
    // The clip the page holds; set-up and IN ask for the same one several times over.
    std::optional<PageSetup::Clip> m_appliedClip;
    CoordinateSystem m_coords;
    PenPalette m_pens;
    LinePattern m_lineType;
    LineAttributes m_line;
    FillAttributes m_fill;
    LabelState m_labels;
    UserCharacters m_userCharacters;
    PolygonBuffer m_polygon;
    PlotSizeSwap m_swap;
    bool m_polygonOverBudget = false;
    bool m_triedToDraw = false;

    PenState m_penState;
    bool m_relativeBeforeEncoded = false;
    int m_pen = 1;
    bool m_penSelected = false;
    std::vector<Point> m_pendingLine;
    bool m_inPolygonMode = false;
    PenState m_penBeforePolygon;

    UnknownInstructions m_unknown;
    std::vector<std::string> m_warned;
};

} // namespace plotviewer::hpgl
