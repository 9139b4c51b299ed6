#pragma once
// The HP-GL/2 state machine: executes the reader's commands and builds a DisplayList in plotter
// units, with scaling, rotation, line types, fills, labels and clipping already applied.

#include "CoordinateSystem.h"
#include "LabelLayout.h"
#include "LinePattern.h"
#include "PageBuilder.h"
#include "PenTable.h"
#include "PolygonBuffer.h"
#include "RasterFillPatterns.h"
#include "plotviewer/reader/PlotCommand.h"

#include <map>
#include <string>
#include <vector>

namespace plotviewer::hpgl {

class PlotReader;

/// How to take the two sides of PS: X along the first (as the language has it) or along the second.
enum class PlotSizeOrder : unsigned char { AsGiven, Swapped };

class HpglInterpreter
{
public:
    /// The point budget grows with the input: a fixed amount plus a share of its size.
    explicit HpglInterpreter(std::size_t inputSize, PlotSizeOrder plotSizeOrder = PlotSizeOrder::AsGiven);

    /// Executes every command of `reader`, then finishes the last page.
    void run(PlotReader &reader);

    DisplayList &displayList() { return m_result; }
    bool overBudget() const { return m_page.overBudget() || m_polygonOverBudget; }
    std::size_t pointBudget() const { return m_pointBudget; }
    /// Whether any instruction tried to put ink on the page (visible or not).
    bool triedToDraw() const { return m_triedToDraw; }
    /// Whether the frame of a PS that gave both sides has cut away ink on some page.
    bool plotSizeCutInk() const { return m_plotSizeCutInk || m_page.frameCutInk(); }

private:
    struct FontDefinition
    {
        double symbolSet = 277;
        double pitch = 9; // characters per inch
        double height = 11.5; // points
        bool proportional = false;
    };
    enum class SizeMode : unsigned char { Font, Absolute, Relative };
    enum class FillKind : unsigned char { Solid, Hatch, CrossHatch, Shading, RasterPattern, PclPattern };

    void execute(const PlotCommand &command);
    void executeInstruction(const PlotCommand &command);
    bool allowedInPolygonMode(Mnemonic name) const;
    void pclEvent(const PlotCommand &command);

    // Configuration
    void initialize();
    void setDefaults();
    void resetPcl();
    void applyFrame();
    void updateClip();
    void plotSize(const std::vector<double> &n);
    void inputP1P2(const std::vector<double> &n, bool relative);
    void inputWindow(const std::vector<double> &n);
    void finishPage();

    // Pen movement and drawing
    void penMove(const PlotCommand &command, bool penDownChange, bool down);
    void moveTo(Point target, bool draw);
    void flushPolyline();
    void strokePolyline(const std::vector<Point> &polyline);
    void encodedPolyline(const PlotCommand &command);
    void selectPen(double number);
    void arc(const std::vector<double> &n, bool relative);
    void arcThreePoint(const std::vector<double> &n, bool relative);
    void circle(const std::vector<double> &n);
    void bezier(const std::vector<double> &n, bool relative);
    void drawUserPolyline(const std::vector<Point> &userPoints);
    double chordAngle(const std::vector<double> &n, std::size_t index, double radius) const;
    void ticks(bool vertical);

    // Polygons and fills
    void polygonMode(const std::vector<double> &n);
    void rectangle(const std::vector<double> &n, bool relative, bool fill, bool keepBuffer);
    void wedge(const std::vector<double> &n, bool fill);
    void fillPolygon(double rule);
    void edgePolygon();
    void fillType(const std::vector<double> &n);
    bool penVisible() const;
    StrokeStyle strokeStyle() const;
    FillStyle fillStyle(FillRule rule) const;
    double hatchSpacing() const;

    // Labels
    void label(const PlotCommand &command);
    void symbol(Point at);
    LabelFont labelFont(const FontDefinition &definition) const;
    void fontDefinition(FontDefinition &definition, const std::vector<double> &n);
    void characterPlot(const std::vector<double> &n);
    void drawTextRuns(const std::vector<TextRun> &runs);

    void warnOnce(const std::string &text);
    void ensurePenSelected();
    void markPage();
    double deviceScale() const;
    Point userPosition() const { return m_coords.outputToUser().map(m_position); }
    Point toRotated(Point output) const;

    std::size_t m_pointBudget;
    DisplayList m_result;
    PageBuilder m_page;
    CoordinateSystem m_coords;
    PenTable m_pens;
    LinePattern m_lineType;
    PolygonBuffer m_polygon;
    bool m_polygonOverBudget = false;
    bool m_triedToDraw = false;

    // Page set-up
    bool m_pclContext = false;
    bool m_pclSetupSeen = false;
    double m_pclPageSize = 2;
    double m_pclOrientation = 0;
    double m_frameWidth = 0; // decipoints, 0 = default
    double m_frameHeight = 0;
    double m_plotWidth = 0; // inches, 0 = frame size
    double m_plotHeight = 0;
    PlotSizeOrder m_plotSizeOrder;
    double m_psLength = 0; // 0 = no PS
    double m_psWidth = 0;
    bool m_plotSizeCutInk = false;
    Rect m_window; // IW in output units; empty = none
    bool m_windowSet = false;
    Rect m_largestFrame;
    bool m_pageRotationKnown = false;
    int m_pageRotation = 0;

    // Pen state
    Point m_position;
    Point m_carriageReturn;
    bool m_penDown = false;
    bool m_relative = false;
    bool m_relativeBeforeEncoded = false;
    int m_pen = 1;
    bool m_penSelected = false;
    std::vector<Point> m_polyline;
    bool m_inPolygonMode = false;
    Point m_polygonSavedPosition;
    bool m_polygonSavedPenDown = false;

    // Attributes
    LineCap m_cap = LineCap::Butt;
    LineJoin m_join = LineJoin::Miter;
    double m_miterLimit = 5;
    FillKind m_fillKind = FillKind::Solid;
    double m_fillAngle = 0;
    std::map<int, std::pair<double, double>> m_hatchOptions; // per FT type: spacing, angle
    double m_hatchSpacingValue = 0; // current units, 0 = 1% of the P1-P2 diagonal
    double m_hatchSpacingPlu = 0; // fixed spacing of the PCL patterns, 0 = none
    double m_shadingLevel = 100;
    RasterFillPatterns m_rasterPatterns;
    int m_rasterIndex = 1; // FT11 pattern
    bool m_rasterInCurrentPen = false;
    Point m_anchor;
    bool m_transparent = true;
    double m_screenLevel = -1; // SV shading of lines, -1 = off
    double m_chordMode = 0;
    double m_tickPositive = 0.5;
    double m_tickNegative = 0.5;

    // Labels
    FontDefinition m_standardFont;
    FontDefinition m_alternateFont;
    bool m_alternateSelected = false;
    SizeMode m_sizeMode = SizeMode::Font;
    Point m_size; // SI in cm or SR in percent
    bool m_relativeDirection = false;
    Point m_direction { 1, 0 };
    int m_path = 0;
    bool m_reverseLineFeed = false;
    double m_slant = 0;
    Point m_extraSpace;
    int m_labelOrigin = 1;
    bool m_transparentData = false;
    std::u32string m_symbol;

    std::map<std::string, int> m_unknown;
    std::vector<std::string> m_warned;
};

} // namespace plotviewer::hpgl
