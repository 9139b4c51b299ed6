#include "HpglInterpreter.h"

#include "CurveTessellator.h"
#include "InstructionArguments.h"
#include "ShapeOutlines.h"
#include "plotviewer/model/Geometry.h"
#include "plotviewer/model/Tint.h"
#include "plotviewer/reader/PlotReader.h"

#include <algorithm>
#include <cmath>

namespace plotviewer::hpgl {

namespace {

constexpr std::size_t fixedPointBudget = 4'000'000;
constexpr std::size_t maxPolylineLength = 4096;

bool isWhite(Rgb colour)
{
    return colour == white;
}

} // namespace

HpglInterpreter::HpglInterpreter(std::size_t inputSize)
    : m_pointBudget(fixedPointBudget + inputSize / 4)
    , m_page(m_pointBudget)
    , m_raster(m_page, [this](const std::string &text) { warnOnce(text); })
{
    applyFrame();
    initialize();
}

void HpglInterpreter::run(PlotReader &reader)
{
    PlotCommand command;
    while (!overBudget() && m_raster.error().empty() && reader.next(command))
        execute(command);
    closePage(); // no page follows the last
    if (const std::string unknown = m_unknown.summary(); !unknown.empty())
        m_result.warnings.push_back(unknown);
}

void HpglInterpreter::warnOnce(const std::string &text)
{
    if (text.empty() || std::find(m_warned.begin(), m_warned.end(), text) != m_warned.end())
        return;
    m_warned.push_back(text);
    m_result.warnings.push_back(text);
}

double HpglInterpreter::deviceScale() const
{
    const Point scale = m_coords.deviceScale();
    return std::sqrt(scale.x * scale.y);
}

Point HpglInterpreter::toRotated(Point output) const
{
    return m_coords.outputToRotated().map(output);
}

void HpglInterpreter::execute(const PlotCommand &command)
{
    if (command.kind == CommandKind::Instruction)
        executeInstruction(command);
    else
        pclEvent(command);
}

// ---- Configuration -------------------------------------------------------------------------------

void HpglInterpreter::pclEvent(const PlotCommand &command)
{
    // The line drawn so far is stroked in the state it was drawn in, before PCL changes the page,
    // the frame, or paints raster over it.
    endPendingLine();
    switch (command.kind) {
    case CommandKind::EnterHpgl:
        m_raster.endImage();
        if (m_setup.enterHpgl(command.value))
            applyFrame();
        if (keepsPosition(command.value)) {
            m_penState.position = m_raster.cursor(m_setup.pclOrigin());
            m_swap.penPlaced();
        }
        return;
    case CommandKind::EnterPcl:
        if (keepsPosition(command.value))
            m_raster.setCursor(m_penState.position, m_setup.pclOrigin());
        return;
    case CommandKind::PclGraphics:
        pclGraphics(command);
        return;
    case CommandKind::PageEject:
        finishPage();
        return;
    case CommandKind::PclText:
        m_raster.noteText(m_result.pages.size() + 1);
        return;
    case CommandKind::PclReset:
    case CommandKind::JobBoundary:
        finishPage();
        m_raster.reset();
        m_setup.reset();
        applyFrame();
        initialize();
        m_penSelected = false;
        return;
    default:
        if (PageSetup::startsPage(command.kind, command.value))
            finishPage();
        if (m_setup.setPclValue(command.kind, command.value) && m_setup.pclContext())
            applyFrame();
        return;
    }
}

void HpglInterpreter::pclGraphics(const PlotCommand &command)
{
    // Cursor and raster commands put the page on PCL's paper, as HP-GL/2 entered from PCL does.
    if (!m_setup.pclContext() && m_setup.enterHpgl(0))
        applyFrame();
    m_raster.execute(command, m_setup.pclPage());
}

void HpglInterpreter::applyFrame()
{
    m_setup.applyFrame(m_coords, m_page.hasMarks());
    updateSwapFrame();
    m_polygon.clear();
    m_lineType.resetResidue();
    updateClip();
}

void HpglInterpreter::updateClip()
{
    const PageSetup::Clip clip = m_setup.clip(m_coords);
    if (clip == m_appliedClip)
        return;
    m_page.setClip(clip.frame, clip.window, clip.watched, clip.swappedFrame);
    m_appliedClip = clip;
}

void HpglInterpreter::updateSwapFrame()
{
    m_swap.setFrame(
        m_setup.plotSizeMaySwap(), m_coords.frameWidth(), m_coords.frameHeight(), m_coords.rotation());
}

void HpglInterpreter::initialize()
{
    setDefaults();
    m_coords.setRotation(0);
    m_coords.resetScalingPoints();
    updateSwapFrame();
    m_pens.reset();
    m_penState.reset(origin());
    m_fill.setAnchor(m_penState.position);
    m_swap.penPlaced();
    m_swap.anchorPlaced();
}

void HpglInterpreter::setDefaults()
{
    m_penState.relative = false;
    m_lineType.resetToDefaults();
    m_line = {};
    m_fill = {};
    m_fill.setAnchor(origin());
    m_swap.anchorPlaced();
    m_labels = {};
    m_pens.resetThickness();
    m_polygon.clear();
    m_inPolygonMode = false;
    m_setup.clearWindow();
    m_coords.scalingOff();
    updateClip();
}

void HpglInterpreter::plotSize(const std::vector<double> &n)
{
    if (m_setup.setPlotSize(n))
        applyFrame();
}

void HpglInterpreter::inputP1P2(const std::vector<double> &n, bool relative)
{
    m_coords.inputScalingPoints(n, relative);
}

void HpglInterpreter::inputWindow(const std::vector<double> &n)
{
    if (n.empty()) {
        m_setup.clearWindow();
    } else if (n.size() >= 4 && allFinite(n)) {
        const Point a = m_coords.userToOutput().map({ n[0], n[1] });
        const Point b = m_coords.userToOutput().map({ n[2], n[3] });
        m_setup.setWindow({ std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y) });
        m_swap.windowPlaced();
    } else {
        return;
    }
    updateClip();
}

void HpglInterpreter::scale(const std::vector<double> &n)
{
    if (n.empty())
        m_coords.scalingOff();
    else
        m_coords.setScaling(n);
}

void HpglInterpreter::rotate(const std::vector<double> &n)
{
    if (m_coords.setRotation(argument(n, 0, 0)))
        updateSwapFrame();
}

void HpglInterpreter::markPage(bool hatched)
{
    m_setup.noteMark(m_coords.rotation());
    m_swap.drawn(m_setup.windowSet(), hatched);
}

void HpglInterpreter::finishPage()
{
    closePage();
    m_raster.startPage();
    m_setup.pageFinished();
    startPage();
}

void HpglInterpreter::closePage()
{
    endPendingLine(); // at the end of the file no instruction has ended the last line
    m_raster.endImage();
    const Rect frame = framePage();
    // Images never make the frame give way; what they lose to it is said.
    if (m_page.imageRowsOutside(frame))
        warnOnce("raster rows that fall outside the page were not drawn (page "
            + std::to_string(m_result.pages.size() + 1) + ")");
    m_page.finishPage(frame, m_result.pages);
}

// The page's frame, decided from what the page drew: a frame that holds the drawing clips it; a PS
// that holds it only with its sides swapped is swapped; a frame that would cut away more than it
// keeps, or is only assumed, gives way to the drawing.
Rect HpglInterpreter::framePage()
{
    const bool cut = m_page.frameCutInk();
    if (cut && m_setup.frameAssumed()) {
        warnOnce("the drawing reaches beyond the page a PCL job without a page size is assumed to have; "
                 "all of it is shown");
        return {};
    }
    const std::optional<Point> shift = m_swap.pageShift();
    if (cut && m_setup.plotSizeMaySwap() && shift && m_page.moveToSwappedFrame(*shift)) {
        warnOnce(
            "the drawing does not fit its plot size (PS); length and width were swapped to keep all of it");
        return m_setup.swappedPageFrame();
    }
    if (m_page.frameCutMost()) {
        m_page.restoreDrawing();
        warnOnce("most of the drawing lies outside its page frame (PS or PCL page size); the page fits the "
                 "drawing instead");
        return {};
    }
    if (m_page.frameCutAway())
        warnOnce("ink outside the page frame (PS or PCL page size) was cut");
    return m_setup.pageFrame(m_coords, m_page.hasMarks(), m_page.inkBounds());
}

void HpglInterpreter::startPage()
{
    m_swap.startPage();
    m_appliedClip.reset(); // finishing the page reset its clip and cut windows
    updateClip();
}

// ---- Instructions -------------------------------------------------------------------------------

void HpglInterpreter::executeInstruction(const PlotCommand &command)
{
    if (!command.known) {
        if (!command.continued)
            m_unknown.count(command.name);
        return;
    }
    const InstructionTraits &traits = traitsOf(command.instruction);
    if (m_inPolygonMode && !traits.allowedInPolygonMode)
        return;
    const bool first = !command.continued;
    // The line drawn so far is stroked in the state it was drawn in, before anything changes it.
    if (first && !m_pendingLine.empty() && !traits.continuesLine)
        endPendingLine();
    if (first && traits.restartsLinePattern)
        m_lineType.resetResidue();
    if (const InstructionHandler handle = instructionHandlers()[indexOf(command.instruction)])
        handle(*this, command, first);
}

// ---- Pen movement ---------------------------------------------------------------------------------

void HpglInterpreter::penMove(const PlotCommand &command, bool first, bool down)
{
    const Mnemonic name = command.name;
    if (first) {
        if (name == "PA"_mn)
            m_penState.relative = false;
        else if (name == "PR"_mn)
            m_penState.relative = true;
        else if (name == "PU"_mn)
            m_penState.down = false;
        else if (down) {
            m_penState.down = true;
            // Every pen-down leaves at least a dot at the current point.
            if (!m_inPolygonMode && m_pendingLine.empty() && command.numbers.empty())
                m_pendingLine.push_back(m_penState.position);
        }
    }
    const std::vector<double> &n = command.numbers;
    const AffineMap &map = m_coords.userToOutput();
    for (std::size_t i = 0; i + 1 < n.size(); i += 2) {
        const Point user { n[i], n[i + 1] };
        const Point target
            = m_penState.relative ? add(m_penState.position, map.mapVector(user)) : map.map(user);
        moveTo(target, m_penState.down);
        symbol(target);
    }
    if (!m_penState.relative && n.size() >= 2)
        m_swap.penPlaced();
}

void HpglInterpreter::moveTo(Point target, bool draw)
{
    if (!RectClipper::isFinite(target))
        return;
    if (m_inPolygonMode) {
        m_polygon.addVertex(target, draw);
        m_polygonOverBudget = m_polygon.vertexCount() > m_pointBudget;
    } else if (draw) {
        if (m_pendingLine.empty()) {
            m_swap.drawn(m_setup.windowSet(), false);
            m_pendingLine.push_back(m_penState.position);
        }
        m_pendingLine.push_back(target);
        if (m_pendingLine.size() >= maxPolylineLength) {
            strokePolyline(m_pendingLine);
            m_pendingLine.assign(1, target);
        }
    } else {
        endPendingLine(); // the pen lifts: the line it drew is done
    }
    m_penState.moveTo(target);
}

void HpglInterpreter::endPendingLine()
{
    if (m_pendingLine.empty())
        return;
    strokePolyline(m_pendingLine); // a single point is a dot
    m_pendingLine.clear();
}

void HpglInterpreter::ensurePenSelected()
{
    m_triedToDraw = true;
    if (m_penSelected)
        return;
    warnOnce("drawing started before a pen was selected; pen 1 was used");
    m_pen = 1;
    m_penSelected = true;
}

bool HpglInterpreter::penVisible() const
{
    return inkVisible(m_pens.colour(m_pen));
}

bool HpglInterpreter::inkVisible(Rgb colour) const
{
    // White marks on white paper are invisible, and drawing them would erase earlier lines.
    return !(m_fill.transparent() && isWhite(colour));
}

StrokeStyle HpglInterpreter::strokeStyle() const
{
    return m_line.strokeStyle(
        m_pen, m_pens.colour(m_pen), m_pens.width(m_pen, m_coords.diagonal()) * deviceScale());
}

void HpglInterpreter::strokePolyline(std::span<const Point> polyline)
{
    ensurePenSelected();
    const StrokeStyle style = strokeStyle(); // works out the pen's colour once for both
    if (!inkVisible(style.colour))
        return;
    markPage();
    const double length = m_lineType.patternLength(m_coords.diagonal()) * deviceScale();
    m_lineType.cut(polyline, length, [&](std::span<const Point> piece) { m_page.addStroke(piece, style); });
}

void HpglInterpreter::selectPen(double number)
{
    if (m_inPolygonMode)
        return;
    const int pen = m_pens.resolve(number);
    if (pen < 0)
        return;
    m_pen = pen;
    m_penSelected = true;
}

void HpglInterpreter::encodedPolyline(const PlotCommand &command)
{
    if (!command.continued) {
        m_relativeBeforeEncoded = m_penState.relative;
        m_penState.carriageReturn = m_penState.position;
    }
    const AffineMap &map = m_coords.userToOutput();
    for (const EncodedStep &step : command.encoded) {
        if (step.kind == EncodedStep::Kind::SelectPen) {
            endPendingLine(); // the line so far was drawn with the pen being put away
            selectPen(step.x);
            continue;
        }
        const Point user { step.x, step.y };
        const Point target = step.absolute ? map.map(user) : add(m_penState.position, map.mapVector(user));
        m_penState.down = !step.penUp;
        moveTo(target, m_penState.down);
        if (step.absolute)
            m_swap.penPlaced();
        symbol(target);
    }
    if (!command.more)
        m_penState.relative = m_relativeBeforeEncoded;
}

void HpglInterpreter::drawUserPolyline(const std::vector<Point> &userPoints)
{
    const AffineMap &map = m_coords.userToOutput();
    for (const Point &p : userPoints)
        moveTo(map.map(p), m_penState.down);
}

void HpglInterpreter::arc(const std::vector<double> &n, bool relative)
{
    const std::vector<Point> points = ShapeOutlines::arc(userPosition(), n, relative, m_line.chordDeviation);
    if (m_penState.down || m_inPolygonMode)
        noteFineCurve(n, 3, points.data(), points.size(), m_inPolygonMode);
    drawUserPolyline(points);
}

void HpglInterpreter::arcThreePoint(const std::vector<double> &n, bool relative)
{
    const std::vector<Point> points
        = ShapeOutlines::arcThreePoint(userPosition(), n, relative, m_line.chordDeviation);
    if (m_penState.down || m_inPolygonMode)
        noteFineCurve(n, 4, points.data(), points.size(), m_inPolygonMode);
    drawUserPolyline(points);
}

void HpglInterpreter::noteFineCurve(
    const std::vector<double> &n, std::size_t index, const Point *arc, std::size_t count, bool area)
{
    if (count < 3 || !ShapeOutlines::asksFinerChords(n, index, arc, m_line.chordDeviation))
        return;
    const AffineMap &map = m_coords.userToOutput();
    const Point a = map.map(arc[0]);
    const Point b = map.map(arc[1]);
    const Point c = map.map(arc[2]);
    // A circle in a polygon may be filled, edged or both.
    if (area)
        m_page.noteFineCurve(a, b, c, -1);
    if (!area || m_inPolygonMode)
        m_page.noteFineCurve(a, b, c, strokeStyle().width);
}

void HpglInterpreter::circle(const std::vector<double> &n)
{
    std::vector<Point> points = ShapeOutlines::circle(userPosition(), n, m_line.chordDeviation);
    if (points.empty())
        return;
    noteFineCurve(n, 1, points.data(), points.size(), m_inPolygonMode);
    const AffineMap &map = m_coords.userToOutput();
    for (Point &p : points)
        p = map.map(p);
    if (m_inPolygonMode) {
        m_polygon.closeSubpolygon(m_penState.down);
        m_polygon.addClosed(points, true);
        m_polygonOverBudget = m_polygon.vertexCount() > m_pointBudget;
        return;
    }
    strokePolyline(points);
}

void HpglInterpreter::bezier(const std::vector<double> &n, bool relative)
{
    const AffineMap &map = m_coords.userToOutput();
    for (std::size_t i = 0; i + 5 < n.size(); i += 6) {
        const Point start = userPosition();
        const Point base = relative ? start : Point {};
        Point control[3];
        for (std::size_t k = 0; k < 3; ++k)
            control[k] = map.map(add(base, { n[i + 2 * k], n[i + 2 * k + 1] }));
        std::vector<Point> points;
        CurveTessellator::appendBezier(m_penState.position, control[0], control[1], control[2], points);
        for (const Point &p : points)
            moveTo(p, m_penState.down);
    }
}

void HpglInterpreter::ticks(bool vertical)
{
    const Point p1 = m_coords.p1();
    const Point p2 = m_coords.p2();
    const Point here = toRotated(m_penState.position);
    Point from = here;
    Point to = here;
    if (vertical) {
        from.y -= m_line.tickNegative / 100 * (p2.y - p1.y);
        to.y += m_line.tickPositive / 100 * (p2.y - p1.y);
    } else {
        from.x -= m_line.tickNegative / 100 * (p2.x - p1.x);
        to.x += m_line.tickPositive / 100 * (p2.x - p1.x);
    }
    const AffineMap &map = m_coords.rotatedToOutput();
    const Point tick[] = { map.map(from), map.map(to) };
    strokePolyline(tick);
}

// ---- Polygons and fills ---------------------------------------------------------------------------

void HpglInterpreter::polygonMode(const std::vector<double> &n)
{
    const double mode = n.empty() ? 0 : std::round(n[0]);
    if (mode == 0) {
        m_swap.drawn(m_setup.windowSet(), false); // the polygon starts at the pen's place
        m_inPolygonMode = true;
        m_polygon.begin(m_penState.position);
        m_penBeforePolygon = m_penState;
    } else if (mode == 1 && m_inPolygonMode) {
        m_polygon.closeSubpolygon(m_penState.down);
    } else if (mode == 2 && m_inPolygonMode) {
        m_polygon.closeSubpolygon(m_penState.down);
        m_inPolygonMode = false;
        m_penState.position = m_penBeforePolygon.position;
        m_penState.down = m_penBeforePolygon.down;
    }
}

void HpglInterpreter::rectangle(const std::vector<double> &n, bool relative, bool fill, bool keepBuffer)
{
    if (n.size() < 2 || !allFinite(n))
        return;
    const Point a = userPosition();
    const Point c = relative ? add(a, { n[0], n[1] }) : Point { n[0], n[1] };
    const AffineMap &map = m_coords.userToOutput();
    const std::vector<Point> corners { map.map(a), map.map({ c.x, a.y }), map.map(c), map.map({ a.x, c.y }),
        map.map(a) };
    if (keepBuffer) {
        ensurePenSelected();
        if (penVisible()) {
            const FillStyle style = fillStyle(FillRule::EvenOdd);
            markPage(style.pattern != FillPattern::Solid);
            const std::span<const Point> outline[] = { corners };
            m_page.addFill(outline, style);
        }
        return;
    }
    m_polygon.clear();
    m_polygon.addClosed(corners, true);
    if (fill)
        fillPolygon(0);
    else
        edgePolygon();
}

void HpglInterpreter::wedge(const std::vector<double> &n, bool fill)
{
    std::vector<Point> points = ShapeOutlines::wedge(userPosition(), n, m_line.chordDeviation);
    if (points.empty())
        return;
    const std::size_t arcStart = std::abs(n[2]) >= 360 ? 0 : 1; // past the centre
    noteFineCurve(n, 3, points.data() + arcStart, points.size() - 2 * arcStart, fill);
    const AffineMap &map = m_coords.userToOutput();
    for (Point &p : points)
        p = map.map(p);
    m_polygon.clear();
    m_polygon.addClosed(points, true);
    if (fill)
        fillPolygon(0);
    else
        edgePolygon();
}

void HpglInterpreter::anchorCorner(const std::vector<double> &n)
{
    m_fill.setAnchor(n.size() >= 2 && allFinite(n) ? m_coords.userToOutput().map({ n[0], n[1] }) : origin());
    m_swap.anchorPlaced();
}

FillStyle HpglInterpreter::fillStyle(FillRule rule) const
{
    return m_fill.fillStyle(rule, m_pens, m_pen, m_coords, deviceScale());
}

void HpglInterpreter::fillPolygon(double rule)
{
    if (m_polygon.empty())
        return;
    ensurePenSelected();
    const FillStyle style = fillStyle(rule == 1 ? FillRule::NonZero : FillRule::EvenOdd);
    if (m_fill.transparent() && isWhite(tinted(style.colour, style.tint)))
        return;
    markPage(style.pattern != FillPattern::Solid);
    m_page.addFill(m_polygon.outlines(), style);
}

void HpglInterpreter::edgePolygon()
{
    m_polygon.forEachPenDownEdge([this](std::span<const Point> edge) { strokePolyline(edge); });
}

} // namespace plotviewer::hpgl
