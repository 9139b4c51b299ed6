#include "HpglInterpreter.h"

#include "CharacterSet.h"
#include "CurveTessellator.h"
#include "plotviewer/model/Geometry.h"
#include "plotviewer/model/Tint.h"
#include "plotviewer/reader/PlotReader.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace plotviewer::hpgl {

namespace {

constexpr double pluPerInch = 1016;
constexpr double pluPerDecipoint = pluPerInch / 720;
constexpr double pcLogicalPageMargin = 0.25 * pluPerInch;
constexpr double pclTopMargin = 0.5 * pluPerInch;
constexpr double unbounded = 1e12;
// Pen plotter A4 hard-clip limits, for files that never give a page size.
constexpr double nominalWidth = 11206;
constexpr double nominalHeight = 8242;
constexpr std::size_t fixedPointBudget = 4'000'000;
constexpr std::size_t maxPolylineLength = 4096;

bool finite(const std::vector<double> &values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

bool isWhite(Rgb colour)
{
    return colour == Rgb { 255, 255, 255 };
}

// PCL page-size codes in inches (width, length, portrait).
bool pclPaper(double code, double &width, double &length)
{
    struct Paper
    {
        int code;
        double width;
        double length;
    };
    static constexpr Paper papers[] = { { 1, 7.25, 10.5 }, { 2, 8.5, 11 }, { 3, 8.5, 14 }, { 6, 11, 17 },
        { 25, 5.83, 8.27 }, { 26, 8.27, 11.69 }, { 27, 11.69, 16.54 }, { 80, 3.875, 7.5 }, { 81, 4.125, 9.5 },
        { 90, 4.33, 8.66 }, { 91, 6.38, 9.02 }, { 100, 6.93, 9.84 } };
    for (const Paper &paper : papers) {
        if (paper.code == code) {
            width = paper.width * pluPerInch;
            length = paper.length * pluPerInch;
            return true;
        }
    }
    return false;
}

} // namespace

HpglInterpreter::HpglInterpreter(std::size_t inputSize, PlotSizeOrder plotSizeOrder)
    : m_pointBudget(fixedPointBudget + inputSize / 4)
    , m_page(m_pointBudget)
    , m_plotSizeOrder(plotSizeOrder)
{
    resetPcl();
    applyFrame();
    initialize();
}

void HpglInterpreter::run(PlotReader &reader)
{
    // A swapped plot size is a trial, kept only when it loses nothing, so it ends at the first loss.
    const bool trial = m_plotSizeOrder == PlotSizeOrder::Swapped;
    PlotCommand command;
    while (!overBudget() && !(trial && plotSizeCutInk()) && reader.next(command))
        execute(command);
    finishPage();
    if (!m_unknown.empty()) {
        int total = 0;
        std::string names;
        for (const auto &[name, count] : m_unknown) {
            total += count;
            if (names.size() < 40)
                names += (names.empty() ? "" : ", ") + name;
        }
        m_result.warnings.push_back(
            "skipped " + std::to_string(total) + " unknown instructions (" + names + ")");
    }
}

void HpglInterpreter::warnOnce(const std::string &text)
{
    if (std::find(m_warned.begin(), m_warned.end(), text) != m_warned.end())
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
    return m_coords.rotatedToOutput().inverted().map(output);
}

void HpglInterpreter::execute(const PlotCommand &command)
{
    if (command.kind == CommandKind::Instruction)
        executeInstruction(command);
    else
        pclEvent(command);
}

// ---- Configuration -------------------------------------------------------------------------------

void HpglInterpreter::resetPcl()
{
    m_pclContext = false;
    m_pclSetupSeen = false;
    m_pclPageSize = 2;
    m_pclOrientation = 0;
    m_frameWidth = m_frameHeight = 0;
    m_plotWidth = m_plotHeight = 0;
    m_psLength = m_psWidth = 0;
}

void HpglInterpreter::pclEvent(const PlotCommand &command)
{
    const double value = command.value;
    switch (command.kind) {
    case CommandKind::EnterHpgl: {
        // A plotter job that already gave its size with PS keeps it across PCL round trips.
        const bool pcl = value >= 0 && (m_pclSetupSeen || m_psLength == 0);
        if (pcl != m_pclContext) {
            flushPolyline();
            m_pclContext = pcl;
            applyFrame();
        }
        return;
    }
    case CommandKind::PclReset:
    case CommandKind::JobBoundary:
        finishPage();
        resetPcl();
        applyFrame();
        initialize();
        m_penSelected = false;
        return;
    case CommandKind::PageSize:
    case CommandKind::Orientation: {
        double width = 0;
        double length = 0;
        if (command.kind == CommandKind::PageSize && !pclPaper(value, width, length))
            return;
        if (command.kind == CommandKind::Orientation && (value < 0 || value > 3))
            return;
        finishPage();
        (command.kind == CommandKind::PageSize ? m_pclPageSize : m_pclOrientation) = value;
        m_frameWidth = m_frameHeight = m_plotWidth = m_plotHeight = 0;
        break;
    }
    case CommandKind::PictureFrameWidth:
        m_frameWidth = std::max(value, 0.0);
        break;
    case CommandKind::PictureFrameHeight:
        m_frameHeight = std::max(value, 0.0);
        break;
    case CommandKind::PlotSizeWidth:
        m_plotWidth = std::max(value, 0.0);
        break;
    case CommandKind::PlotSizeHeight:
        m_plotHeight = std::max(value, 0.0);
        break;
    case CommandKind::PictureFrameAnchor:
    case CommandKind::Instruction:
        return;
    }
    m_pclSetupSeen = true;
    if (m_pclContext) {
        flushPolyline();
        applyFrame();
    }
}

void HpglInterpreter::applyFrame()
{
    if (m_pclContext) {
        double paperWidth = 0;
        double paperLength = 0;
        pclPaper(m_pclPageSize, paperWidth, paperLength);
        if (static_cast<int>(m_pclOrientation) % 2 == 1)
            std::swap(paperWidth, paperLength);
        const double frameWidth
            = m_frameWidth > 0 ? m_frameWidth * pluPerDecipoint : paperWidth - 2 * pcLogicalPageMargin;
        const double frameHeight
            = m_frameHeight > 0 ? m_frameHeight * pluPerDecipoint : paperLength - 2 * pclTopMargin;
        const double plotWidth = m_plotWidth > 0 ? m_plotWidth * pluPerInch : frameWidth;
        const double plotHeight = m_plotHeight > 0 ? m_plotHeight * pluPerInch : frameHeight;
        m_coords.setFrame(plotWidth, plotHeight, false);
        m_coords.setDeviceScale(frameWidth / plotWidth, frameHeight / plotHeight);
        // The paper stays where the page's first marks put it: a picture frame set later moves
        // only what is drawn after it.
        const double top = frameHeight + pclTopMargin;
        if (!m_page.hasMarks())
            m_largestFrame
                = { -pcLogicalPageMargin, top - paperLength, paperWidth - pcLogicalPageMargin, top };
    } else if (m_psLength > 0) {
        m_coords.setFrame(m_psLength, m_psWidth > 0 ? m_psWidth : m_psLength, false);
        m_coords.setDeviceScale(1, 1);
        const Rect frame { 0, 0, m_psLength, m_psWidth };
        if (m_page.hasMarks() && !m_largestFrame.isEmpty())
            m_largestFrame = { 0, 0, std::max(frame.right, m_largestFrame.right),
                std::max(frame.top, m_largestFrame.top) };
        else
            m_largestFrame = frame;
    } else {
        m_coords.setFrame(nominalWidth, nominalHeight, true);
        m_coords.setDeviceScale(1, 1);
        m_largestFrame = {};
    }
    m_windowSet = false;
    m_polygon.clear();
    m_lineType.resetResidue();
    updateClip();
}

void HpglInterpreter::updateClip()
{
    flushPolyline();
    constexpr Rect everywhere { -unbounded, -unbounded, unbounded, unbounded };
    Rect frame = everywhere;
    if (m_pclContext || m_psLength > 0) {
        frame = m_coords.frameInOutput();
        if (!m_pclContext && m_psWidth <= 0) {
            frame.bottom = -unbounded;
            frame.top = unbounded;
        }
    }
    m_page.setClip(
        frame, m_windowSet ? m_window : everywhere, !m_pclContext && m_psLength > 0 && m_psWidth > 0);
}

void HpglInterpreter::initialize()
{
    flushPolyline();
    setDefaults();
    m_coords.setRotation(0);
    m_coords.resetScalingPoints();
    m_pens.reset();
    m_position = m_coords.rotatedToOutput().map({ 0, 0 });
    m_carriageReturn = m_position;
    m_anchor = m_position;
    m_penDown = false;
}

void HpglInterpreter::setDefaults()
{
    flushPolyline();
    m_relative = false;
    m_anchor = m_coords.rotatedToOutput().map({ 0, 0 });
    m_lineType.resetToDefaults();
    m_cap = LineCap::Butt;
    m_join = LineJoin::Miter;
    m_miterLimit = 5;
    m_fillKind = FillKind::Solid;
    m_fillAngle = 0;
    m_hatchOptions.clear();
    m_hatchSpacingValue = 0;
    m_hatchSpacingPlu = 0;
    m_shadingLevel = 100;
    m_rasterPatterns.reset();
    m_rasterIndex = 1;
    m_rasterInCurrentPen = false;
    m_transparent = true;
    m_screenLevel = -1;
    m_polygon.clear();
    m_inPolygonMode = false;
    m_windowSet = false;
    m_coords.scalingOff();
    m_chordMode = 0;
    m_symbol.clear();
    m_standardFont = {};
    m_alternateFont = {};
    m_alternateSelected = false;
    m_sizeMode = SizeMode::Font;
    m_slant = 0;
    m_extraSpace = {};
    m_relativeDirection = false;
    m_direction = { 1, 0 };
    m_path = 0;
    m_reverseLineFeed = false;
    m_labelOrigin = 1;
    m_transparentData = false;
    m_tickPositive = m_tickNegative = 0.5;
    updateClip();
}

void HpglInterpreter::plotSize(const std::vector<double> &n)
{
    if (m_pclContext && m_pclSetupSeen)
        return; // PCL printers take the page size from PCL
    if (!finite(n) || (!n.empty() && !(n[0] > 0)) || (n.size() > 1 && !(n[1] > 0)))
        return;
    flushPolyline();
    m_pclContext = false;
    m_psLength = n.empty() ? 0 : n[0];
    m_psWidth = n.size() > 1 ? n[1] : 0;
    if (m_plotSizeOrder == PlotSizeOrder::Swapped && m_psWidth > 0)
        std::swap(m_psLength, m_psWidth);
    applyFrame();
}

void HpglInterpreter::inputP1P2(const std::vector<double> &n, bool relative)
{
    m_lineType.resetResidue();
    if (n.empty()) {
        m_coords.resetScalingPoints();
        return;
    }
    if ((n.size() != 2 && n.size() < 4) || !finite(n))
        return;
    const Point frame = m_coords.rotatedFrameSize();
    auto convert = [&](double x, double y) {
        return relative ? Point { x / 100 * frame.x, y / 100 * frame.y }
                        : Point { std::round(x), std::round(y) };
    };
    const Point p1 = convert(n[0], n[1]);
    if (n.size() == 2) {
        const Point delta { p1.x - m_coords.p1().x, p1.y - m_coords.p1().y };
        m_coords.setScalingPoints(p1, add(m_coords.p2(), delta));
    } else {
        m_coords.setScalingPoints(p1, convert(n[2], n[3]));
    }
}

void HpglInterpreter::inputWindow(const std::vector<double> &n)
{
    if (n.empty()) {
        m_windowSet = false;
    } else if (n.size() >= 4 && finite(n)) {
        const Point a = m_coords.userToOutput().map({ n[0], n[1] });
        const Point b = m_coords.userToOutput().map({ n[2], n[3] });
        m_window = { std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y) };
        m_windowSet = true;
    } else {
        return;
    }
    m_lineType.resetResidue();
    updateClip();
}

void HpglInterpreter::markPage()
{
    if (!m_pageRotationKnown) {
        m_pageRotation = m_coords.rotation();
        m_pageRotationKnown = true;
    }
}

void HpglInterpreter::finishPage()
{
    flushPolyline();
    m_plotSizeCutInk = plotSizeCutInk();
    Rect frame = m_largestFrame;
    AffineMap toOutput;
    if (!m_pclContext && m_page.hasMarks()) {
        if (m_psLength > 0 && m_psWidth <= 0) {
            // Only the length is known: the drawing decides the other side.
            const Rect &ink = m_page.inkBounds();
            frame = { 0, std::min(0.0, ink.bottom), m_psLength, std::max(ink.top, 1.0) };
        }
        // Show the page as the drawing's rotated system sees it, so the plot reads upright.
        toOutput
            = CoordinateSystem::rotationMap(m_pageRotation, m_coords.frameWidth(), m_coords.frameHeight())
                  .inverted();
    }
    m_page.finishPage(frame, toOutput, m_result.pages);
    m_pageRotationKnown = false;
    if (!m_pclContext && m_psLength > 0)
        m_largestFrame = { 0, 0, m_psLength, m_psWidth };
}

// ---- Instructions -------------------------------------------------------------------------------

bool HpglInterpreter::allowedInPolygonMode(Mnemonic name) const
{
    switch (name) {
    case "PA"_mn:
    case "PR"_mn:
    case "PU"_mn:
    case "PD"_mn:
    case "PE"_mn:
    case "AA"_mn:
    case "AR"_mn:
    case "AT"_mn:
    case "RT"_mn:
    case "BZ"_mn:
    case "BR"_mn:
    case "CI"_mn:
    case "PM"_mn:
    case "IN"_mn:
    case "DF"_mn:
    case "CO"_mn:
        return true;
    default:
        return false;
    }
}

void HpglInterpreter::executeInstruction(const PlotCommand &command)
{
    if (!command.known) {
        if (!command.continued)
            ++m_unknown[mnemonicText(command.name)];
        return;
    }
    if (m_inPolygonMode && !allowedInPolygonMode(command.name))
        return;
    const std::vector<double> &n = command.numbers;
    const bool first = !command.continued;
    auto at = [&n](std::size_t i, double fallback) {
        return i < n.size() && std::isfinite(n[i]) ? n[i] : fallback;
    };
    switch (command.name) {
    case "IN"_mn:
    case "BP"_mn:
        if (first)
            initialize();
        break;
    case "DF"_mn:
        setDefaults();
        break;
    case "PG"_mn:
    case "FR"_mn:
    case "AF"_mn:
    case "AH"_mn:
        finishPage();
        break;
    case "IP"_mn:
        inputP1P2(n, false);
        break;
    case "IR"_mn:
        inputP1P2(n, true);
        break;
    case "SC"_mn:
        if (n.empty())
            m_coords.scalingOff();
        else
            m_coords.setScaling(n);
        m_lineType.resetResidue();
        break;
    case "IW"_mn:
        inputWindow(n);
        break;
    case "RO"_mn:
        if (m_coords.setRotation(at(0, 0)))
            m_lineType.resetResidue();
        break;
    case "PS"_mn:
        plotSize(n);
        break;
    case "PU"_mn:
    case "PD"_mn:
    case "PA"_mn:
    case "PR"_mn:
        penMove(command, first, command.name == "PD"_mn);
        break;
    case "PE"_mn:
        encodedPolyline(command);
        break;
    case "CI"_mn:
        circle(n);
        break;
    case "AA"_mn:
    case "AR"_mn:
        arc(n, command.name == "AR"_mn);
        break;
    case "AT"_mn:
    case "RT"_mn:
        arcThreePoint(n, command.name == "RT"_mn);
        break;
    case "BZ"_mn:
    case "BR"_mn:
        bezier(n, command.name == "BR"_mn);
        break;
    case "CT"_mn:
        m_chordMode = at(0, 0) == 1 ? 1 : 0;
        break;
    case "PM"_mn:
        polygonMode(n);
        break;
    case "EP"_mn:
        edgePolygon();
        break;
    case "FP"_mn:
        fillPolygon(at(0, 0));
        break;
    case "EA"_mn:
    case "ER"_mn:
        rectangle(n, command.name == "ER"_mn, false, false);
        break;
    case "RA"_mn:
    case "RR"_mn:
        rectangle(n, command.name == "RR"_mn, true, false);
        break;
    case "RQ"_mn:
        rectangle(n, true, true, true);
        break;
    case "EW"_mn:
    case "WG"_mn:
        wedge(n, command.name == "WG"_mn);
        break;
    case "SP"_mn:
        selectPen(at(0, 0));
        break;
    case "NP"_mn:
        flushPolyline();
        m_pens.setPaletteSize(n.empty() ? PenTable::defaultPaletteSize : at(0, 0));
        break;
    case "PC"_mn:
        flushPolyline();
        if (n.empty())
            m_pens.resetColours();
        else if (n.size() < 4)
            m_pens.resetColour(static_cast<int>(std::round(std::clamp(at(0, -1), -1.0, 1e6))));
        else if (finite(n) && n[0] >= 0 && n[0] < m_pens.paletteSize())
            m_pens.setColour(static_cast<int>(std::round(n[0])), n[1], n[2], n[3]);
        break;
    case "CR"_mn:
        flushPolyline();
        if (n.empty())
            m_pens.resetColourRange();
        else
            m_pens.setColourRange(n);
        break;
    case "PW"_mn:
        flushPolyline();
        m_lineType.resetResidue();
        if (n.empty())
            m_pens.setAllWidths(
                m_pens.relativeWidths() ? PenTable::defaultRelativeWidth : PenTable::defaultMetricWidth);
        else if (n.size() == 1)
            m_pens.setAllWidths(at(0, -1));
        else if (std::isfinite(n[1]) && n[1] >= 0 && n[1] < m_pens.paletteSize())
            m_pens.setWidth(at(0, -1), static_cast<int>(std::round(n[1])));
        break;
    case "WU"_mn:
        flushPolyline();
        m_lineType.resetResidue();
        m_pens.setRelativeWidths(at(0, 0) == 1);
        break;
    case "LT"_mn:
        flushPolyline();
        if (n.empty()) {
            m_lineType.setSolid();
        } else if (std::round(at(0, 0)) == 99) {
            m_lineType.restorePrevious();
        } else if (std::isfinite(n[0])) {
            const double length = at(1, 0);
            const double mode = at(2, 0);
            m_lineType.setType(static_cast<int>(std::round(std::clamp(n[0], -32768.0, 32767.0))),
                n.size() > 1 ? &length : nullptr, n.size() > 2 ? &mode : nullptr);
        }
        break;
    case "UL"_mn:
        flushPolyline();
        if (n.empty())
            m_lineType.resetDefinitions();
        else if (std::isfinite(n[0]))
            m_lineType.define(static_cast<int>(std::round(std::clamp(n[0], -100.0, 100.0))),
                std::vector<double>(n.begin() + 1, n.end()));
        break;
    case "LA"_mn:
        flushPolyline();
        if (n.empty()) {
            m_cap = LineCap::Butt;
            m_join = LineJoin::Miter;
            m_miterLimit = 5;
        }
        for (std::size_t i = 0; i + 1 < n.size(); i += 2) {
            const double kind = std::round(n[i]);
            const double value = std::round(n[i + 1]);
            if (kind == 1)
                m_cap = value == 2             ? LineCap::Square
                    : value == 3 || value == 4 ? LineCap::Round
                                               : LineCap::Butt;
            else if (kind == 2)
                m_join = value == 4            ? LineJoin::Round
                    : value >= 3 && value <= 6 ? LineJoin::Bevel
                                               : LineJoin::Miter;
            else if (kind == 3 && std::isfinite(n[i + 1]))
                m_miterLimit = std::clamp(n[i + 1], 1.0, 32767.0);
        }
        break;
    case "FT"_mn:
        fillType(n);
        break;
    case "RF"_mn:
        if (m_rasterPatterns.define(n))
            m_lineType.resetResidue();
        break;
    case "AC"_mn:
        m_anchor = n.size() >= 2 && finite(n) ? m_coords.userToOutput().map({ n[0], n[1] })
                                              : m_coords.rotatedToOutput().map({ 0, 0 });
        break;
    case "TR"_mn:
        flushPolyline();
        m_transparent = at(0, 1) != 0;
        break;
    case "SV"_mn:
        flushPolyline();
        m_screenLevel = at(0, 0) == 1 ? at(1, 50) : -1;
        break;
    case "TL"_mn:
        m_tickPositive = at(0, 0.5);
        m_tickNegative = at(1, n.empty() ? 0.5 : 0);
        break;
    case "XT"_mn:
    case "YT"_mn:
        ticks(command.name == "XT"_mn);
        break;
    case "LB"_mn:
        label(command);
        break;
    case "SM"_mn: {
        m_symbol.clear();
        if (!command.text.empty())
            m_symbol.push_back(CharacterSet().decode(static_cast<unsigned char>(command.text[0])));
        break;
    }
    case "SI"_mn:
        if (n.empty())
            m_sizeMode = SizeMode::Font;
        else if (n.size() >= 2 && finite(n) && n[0] != 0 && n[1] != 0) {
            m_sizeMode = SizeMode::Absolute;
            m_size = { std::clamp(n[0], -1e4, 1e4), std::clamp(n[1], -1e4, 1e4) };
        }
        break;
    case "SR"_mn:
        if (n.empty()) {
            m_sizeMode = SizeMode::Relative;
            m_size = { 0.75, 1.5 };
        } else if (n.size() >= 2 && finite(n) && n[0] != 0 && n[1] != 0) {
            m_sizeMode = SizeMode::Relative;
            m_size = { std::clamp(n[0], -1e4, 1e4), std::clamp(n[1], -1e4, 1e4) };
        }
        break;
    case "DI"_mn:
    case "DR"_mn:
        if (n.empty()) {
            m_relativeDirection = command.name == "DR"_mn;
            m_direction = { 1, 0 };
        } else if (n.size() >= 2 && finite(n) && (n[0] != 0 || n[1] != 0)) {
            m_relativeDirection = command.name == "DR"_mn;
            m_direction = { n[0], n[1] };
        }
        m_carriageReturn = m_position;
        break;
    case "DV"_mn:
        m_path = static_cast<int>(std::clamp(std::round(at(0, 0)), 0.0, 3.0));
        m_reverseLineFeed = at(1, 0) == 1;
        m_carriageReturn = m_position;
        break;
    case "LO"_mn: {
        const int origin = static_cast<int>(std::round(std::clamp(at(0, 1), 0.0, 99.0)));
        if ((origin >= 1 && origin <= 9) || (origin >= 11 && origin <= 19) || origin == 21)
            m_labelOrigin = origin;
        m_carriageReturn = m_position;
        break;
    }
    case "ES"_mn:
        m_extraSpace = { std::clamp(at(0, 0), -100.0, 100.0), std::clamp(at(1, 0), -100.0, 100.0) };
        break;
    case "SL"_mn:
        m_slant = std::clamp(at(0, 0), -1e3, 1e3);
        break;
    case "SD"_mn:
        fontDefinition(m_standardFont, n);
        break;
    case "AD"_mn:
        fontDefinition(m_alternateFont, n);
        break;
    case "SS"_mn:
        m_alternateSelected = false;
        break;
    case "SA"_mn:
        m_alternateSelected = true;
        break;
    case "CP"_mn:
        characterPlot(n);
        break;
    case "TD"_mn:
        m_transparentData = at(0, 0) == 1;
        break;
    default:
        break; // parsed and deliberately ignored
    }
}

// ---- Pen movement ---------------------------------------------------------------------------------

void HpglInterpreter::penMove(const PlotCommand &command, bool first, bool down)
{
    const Mnemonic name = command.name;
    if (first) {
        if (name == "PA"_mn)
            m_relative = false;
        else if (name == "PR"_mn)
            m_relative = true;
        else if (name == "PU"_mn) {
            m_penDown = false;
            flushPolyline();
        } else if (down) {
            m_penDown = true;
            // Every pen-down leaves at least a dot at the current point.
            if (!m_inPolygonMode && m_polyline.empty() && command.numbers.empty())
                m_polyline.push_back(m_position);
        }
    }
    const std::vector<double> &n = command.numbers;
    const AffineMap &map = m_coords.userToOutput();
    for (std::size_t i = 0; i + 1 < n.size(); i += 2) {
        const Point user { n[i], n[i + 1] };
        const Point target = m_relative ? add(m_position, map.mapVector(user)) : map.map(user);
        moveTo(target, m_penDown);
        symbol(target);
    }
}

void HpglInterpreter::moveTo(Point target, bool draw)
{
    if (!RectClipper::isFinite(target))
        return;
    if (m_inPolygonMode) {
        m_polygon.addVertex(target, draw);
        m_polygonOverBudget = m_polygon.vertexCount() > m_pointBudget;
    } else if (draw) {
        if (m_polyline.empty())
            m_polyline.push_back(m_position);
        m_polyline.push_back(target);
        if (m_polyline.size() >= maxPolylineLength) {
            strokePolyline(m_polyline);
            m_polyline.assign(1, target);
        }
    } else {
        flushPolyline();
    }
    m_position = target;
    m_carriageReturn = target;
}

void HpglInterpreter::flushPolyline()
{
    if (m_polyline.empty())
        return;
    strokePolyline(m_polyline); // a single point is a dot
    m_polyline.clear();
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
    // White marks on white paper are invisible, and drawing them would erase earlier lines.
    return !(m_transparent && isWhite(m_pens.colour(m_pen)));
}

StrokeStyle HpglInterpreter::strokeStyle() const
{
    StrokeStyle style;
    style.colour = m_pens.colour(m_pen);
    if (m_screenLevel >= 0)
        style.tint = std::clamp(m_screenLevel, 0.0, 100.0);
    style.width = m_pens.width(m_pen, m_coords.diagonal()) * deviceScale();
    style.cap = m_cap;
    style.join = m_join;
    style.miterLimit = m_miterLimit;
    return style;
}

void HpglInterpreter::strokePolyline(const std::vector<Point> &polyline)
{
    ensurePenSelected();
    if (!penVisible())
        return;
    markPage();
    const StrokeStyle style = strokeStyle();
    const double length = m_lineType.patternLength(m_coords.diagonal()) * deviceScale();
    m_lineType.cut(
        polyline, length, [&](const std::vector<Point> &piece) { m_page.addStroke(piece, style); });
}

void HpglInterpreter::selectPen(double number)
{
    if (m_inPolygonMode)
        return;
    const int pen = m_pens.resolve(number);
    if (pen < 0)
        return;
    flushPolyline();
    m_pen = pen;
    m_penSelected = true;
    m_lineType.resetResidue();
}

void HpglInterpreter::encodedPolyline(const PlotCommand &command)
{
    if (!command.continued) {
        m_relativeBeforeEncoded = m_relative;
        m_carriageReturn = m_position;
    }
    const AffineMap &map = m_coords.userToOutput();
    for (const EncodedStep &step : command.encoded) {
        if (step.kind == EncodedStep::Kind::SelectPen) {
            selectPen(step.x);
            continue;
        }
        const Point user { step.x, step.y };
        const Point target = step.absolute ? map.map(user) : add(m_position, map.mapVector(user));
        m_penDown = !step.penUp;
        if (step.penUp)
            flushPolyline();
        moveTo(target, m_penDown);
        symbol(target);
    }
    if (!command.more)
        m_relative = m_relativeBeforeEncoded;
}

double HpglInterpreter::chordAngle(const std::vector<double> &n, std::size_t index, double radius) const
{
    if (index >= n.size() || !std::isfinite(n[index]))
        return CurveTessellator::defaultChordAngle;
    if (m_chordMode == 1)
        return CurveTessellator::chordAngleForDeviation(n[index], radius);
    return CurveTessellator::clampChordAngle(n[index]);
}

void HpglInterpreter::drawUserPolyline(const std::vector<Point> &userPoints)
{
    const AffineMap &map = m_coords.userToOutput();
    for (const Point &p : userPoints)
        moveTo(map.map(p), m_penDown);
}

void HpglInterpreter::arc(const std::vector<double> &n, bool relative)
{
    if (n.size() < 3 || !finite(n))
        return;
    const Point start = userPosition();
    const Point centre = relative ? add(start, { n[0], n[1] }) : Point { n[0], n[1] };
    const double radius = std::hypot(start.x - centre.x, start.y - centre.y);
    if (radius == 0)
        return;
    std::vector<Point> points;
    CurveTessellator::appendArc(centre, start, n[2], chordAngle(n, 3, radius), points);
    drawUserPolyline(points);
}

void HpglInterpreter::arcThreePoint(const std::vector<double> &n, bool relative)
{
    if (n.size() < 4 || !finite(n))
        return;
    const Point start = userPosition();
    const Point base = relative ? start : Point {};
    const Point middle = add(base, { n[0], n[1] });
    const Point end = add(base, { n[2], n[3] });
    const auto arcThrough = CurveTessellator::arcThrough(start, middle, end);
    std::vector<Point> points;
    if (arcThrough) {
        const double radius = std::hypot(start.x - arcThrough->centre.x, start.y - arcThrough->centre.y);
        CurveTessellator::appendArc(
            arcThrough->centre, start, arcThrough->sweep, chordAngle(n, 4, radius), points);
    }
    if (points.empty())
        points.push_back(end);
    points.back() = end;
    drawUserPolyline(points);
}

void HpglInterpreter::circle(const std::vector<double> &n)
{
    if (n.empty() || !finite(n) || n[0] == 0)
        return;
    const Point centre = userPosition();
    const Point start { centre.x + n[0], centre.y };
    std::vector<Point> points { start };
    CurveTessellator::appendArc(centre, start, 360, chordAngle(n, 1, std::abs(n[0])), points);
    const AffineMap &map = m_coords.userToOutput();
    for (Point &p : points)
        p = map.map(p);
    if (m_inPolygonMode) {
        m_polygon.closeSubpolygon(m_penDown);
        m_polygon.addClosed(points, true);
        m_polygonOverBudget = m_polygon.vertexCount() > m_pointBudget;
        return;
    }
    flushPolyline();
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
        CurveTessellator::appendBezier(m_position, control[0], control[1], control[2], points);
        for (const Point &p : points)
            moveTo(p, m_penDown);
    }
}

void HpglInterpreter::ticks(bool vertical)
{
    const Point p1 = m_coords.p1();
    const Point p2 = m_coords.p2();
    const Point here = toRotated(m_position);
    Point from = here;
    Point to = here;
    if (vertical) {
        from.y -= m_tickNegative / 100 * (p2.y - p1.y);
        to.y += m_tickPositive / 100 * (p2.y - p1.y);
    } else {
        from.x -= m_tickNegative / 100 * (p2.x - p1.x);
        to.x += m_tickPositive / 100 * (p2.x - p1.x);
    }
    flushPolyline();
    const AffineMap &map = m_coords.rotatedToOutput();
    strokePolyline({ map.map(from), map.map(to) });
}

// ---- Polygons and fills ---------------------------------------------------------------------------

void HpglInterpreter::polygonMode(const std::vector<double> &n)
{
    const double mode = n.empty() ? 0 : std::round(n[0]);
    if (mode == 0) {
        flushPolyline();
        m_inPolygonMode = true;
        m_polygon.begin(m_position);
        m_polygonSavedPosition = m_position;
        m_polygonSavedPenDown = m_penDown;
    } else if (mode == 1 && m_inPolygonMode) {
        m_polygon.closeSubpolygon(m_penDown);
    } else if (mode == 2 && m_inPolygonMode) {
        m_polygon.closeSubpolygon(m_penDown);
        m_inPolygonMode = false;
        m_position = m_polygonSavedPosition;
        m_penDown = m_polygonSavedPenDown;
    }
}

void HpglInterpreter::rectangle(const std::vector<double> &n, bool relative, bool fill, bool keepBuffer)
{
    if (n.size() < 2 || !finite(n))
        return;
    const Point a = userPosition();
    const Point c = relative ? add(a, { n[0], n[1] }) : Point { n[0], n[1] };
    const AffineMap &map = m_coords.userToOutput();
    const std::vector<Point> corners { map.map(a), map.map({ c.x, a.y }), map.map(c), map.map({ a.x, c.y }),
        map.map(a) };
    flushPolyline();
    if (keepBuffer) {
        ensurePenSelected();
        if (penVisible()) {
            markPage();
            m_page.addFill({ corners }, fillStyle(FillRule::EvenOdd));
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
    if (n.size() < 3 || !finite(n) || std::abs(n[2]) > 360 || n[0] == 0)
        return;
    const Point centre = userPosition();
    const double radius = std::abs(n[0]);
    const double startAngle = (n[0] < 0 ? n[1] + 180 : n[1]) * std::numbers::pi / 180;
    const Point start { centre.x + radius * std::cos(startAngle), centre.y + radius * std::sin(startAngle) };
    const bool fullCircle = std::abs(n[2]) >= 360;
    std::vector<Point> points;
    if (!fullCircle)
        points.push_back(centre);
    points.push_back(start);
    CurveTessellator::appendArc(centre, start, fullCircle ? 360 : n[2], chordAngle(n, 3, radius), points);
    if (!fullCircle)
        points.push_back(centre);
    const AffineMap &map = m_coords.userToOutput();
    for (Point &p : points)
        p = map.map(p);
    flushPolyline();
    m_polygon.clear();
    m_polygon.addClosed(points, true);
    if (fill)
        fillPolygon(0);
    else
        edgePolygon();
}

void HpglInterpreter::fillType(const std::vector<double> &n)
{
    const double type = n.empty() ? 1 : std::round(n[0]);
    if (!std::isfinite(type))
        return;
    m_hatchSpacingPlu = 0;
    if (type == 1 || type == 2) {
        m_fillKind = FillKind::Solid;
    } else if (type == 11) {
        if (n.size() > 1 && std::isfinite(n[1]))
            m_rasterIndex = static_cast<int>(std::round(std::clamp(n[1], 0.0, 99.0)));
        if (n.size() > 2 && std::isfinite(n[2]))
            m_rasterInCurrentPen = std::round(n[2]) == 1;
        m_fillKind = FillKind::RasterPattern;
    } else if (type == 22) {
        m_fillKind = FillKind::PclPattern;
    } else if (type == 3 || type == 4) {
        if (n.size() > 1 && !(n[1] >= 0))
            return;
        auto &[spacing, angle] = m_hatchOptions[static_cast<int>(type)];
        if (n.size() > 1 && std::isfinite(n[1]))
            spacing = n[1];
        if (n.size() > 2 && std::isfinite(n[2]))
            angle = n[2];
        m_fillKind = type == 3 ? FillKind::Hatch : FillKind::CrossHatch;
        m_hatchSpacingValue = spacing;
        m_fillAngle = angle;
    } else if (type == 10) {
        if (n.size() > 1 && std::isfinite(n[1]))
            m_shadingLevel = std::clamp(n[1], 0.0, 100.0);
        m_fillKind = FillKind::Shading;
    } else if (type == 21) {
        // PCL cross-hatch patterns drawn as hatching: horizontal, vertical, two diagonals, two grids.
        static constexpr double angles[] = { 0, 90, 45, 135, 0, 45 };
        const int pattern = static_cast<int>(std::clamp(n.size() > 1 ? n[1] : 1, 1.0, 6.0));
        m_fillKind = pattern >= 5 ? FillKind::CrossHatch : FillKind::Hatch;
        m_fillAngle = angles[pattern - 1];
        m_hatchSpacingPlu = 0.03 * pluPerInch;
    }
}

double HpglInterpreter::hatchSpacing() const
{
    if (m_hatchSpacingPlu > 0)
        return m_hatchSpacingPlu * deviceScale();
    if (m_hatchSpacingValue == 0)
        return m_coords.diagonal() / 100 * deviceScale();
    return m_hatchSpacingValue * std::abs(m_coords.userScale().x) * deviceScale();
}

FillStyle HpglInterpreter::fillStyle(FillRule rule) const
{
    FillStyle style;
    style.colour = m_pens.colour(m_pen);
    style.rule = rule;
    if (m_fillKind == FillKind::Shading)
        style.tint = m_shadingLevel;
    if (m_fillKind == FillKind::RasterPattern) {
        // Devices paint a pattern cell per dot, so what shows is its tint.
        const auto tint = m_rasterPatterns.tint(m_rasterIndex, [&](int pen) {
            return m_rasterInCurrentPen ? style.colour : m_pens.colour(std::max(m_pens.resolve(pen), 0));
        });
        if (tint) {
            style.colour = tint->ink;
            style.tint = tint->level;
        }
    }
    // The PCL pattern itself is not kept; an unknown pattern drawn half tone hides less than a
    // solid area would, and still reads as a filled shape.
    if (m_fillKind == FillKind::PclPattern)
        style.tint = 50;
    if (m_fillKind == FillKind::Hatch || m_fillKind == FillKind::CrossHatch) {
        style.pattern = m_fillKind == FillKind::Hatch ? FillPattern::Hatch : FillPattern::CrossHatch;
        style.hatchSpacing = hatchSpacing();
        const Point direction = m_coords.rotatedToOutput().mapVector({ 1, 0 });
        style.hatchAngle = m_fillAngle + std::atan2(direction.y, direction.x) * 180 / std::numbers::pi;
        style.hatchAnchor = m_anchor;
        style.hatchLineWidth = m_pens.width(m_pen, m_coords.diagonal()) * deviceScale();
    }
    return style;
}

void HpglInterpreter::fillPolygon(double rule)
{
    flushPolyline();
    if (m_polygon.empty())
        return;
    ensurePenSelected();
    const FillStyle style = fillStyle(rule == 1 ? FillRule::NonZero : FillRule::EvenOdd);
    if (m_transparent && isWhite(tinted(style.colour, style.tint)))
        return;
    markPage();
    m_page.addFill(m_polygon.outlines(), style);
}

void HpglInterpreter::edgePolygon()
{
    flushPolyline();
    for (const std::vector<Point> &edge : m_polygon.penDownEdges())
        strokePolyline(edge);
}

// ---- Labels ---------------------------------------------------------------------------------------

void HpglInterpreter::fontDefinition(FontDefinition &definition, const std::vector<double> &n)
{
    if (n.empty()) {
        definition = {};
        return;
    }
    for (std::size_t i = 0; i + 1 < n.size(); i += 2) {
        const double kind = std::round(n[i]);
        const double value = n[i + 1];
        if (!std::isfinite(value))
            continue;
        if (kind == 1)
            definition.symbolSet = std::clamp(value, 0.0, 65535.0);
        else if (kind == 2)
            definition.proportional = value == 1;
        else if (kind == 3 && value > 0)
            definition.pitch = std::clamp(value, 0.01, 1000.0);
        else if (kind == 4 && value > 0)
            definition.height = std::clamp(value, 0.01, 10000.0);
    }
}

LabelFont HpglInterpreter::labelFont(const FontDefinition &definition) const
{
    const Point p1 = m_coords.p1();
    const Point p2 = m_coords.p2();
    double width = 0; // glyph body
    double height = 0; // cap height
    double cell = 0;
    double line = 0;
    switch (m_sizeMode) {
    case SizeMode::Absolute:
        width = m_size.x * 400;
        height = m_size.y * 400;
        break;
    case SizeMode::Relative:
        width = m_size.x / 100 * (p2.x - p1.x);
        height = m_size.y / 100 * (p2.y - p1.y);
        break;
    case SizeMode::Font:
        // A proportional font has no pitch: its characters grow with its height, here in the
        // proportions of the default font (9 characters per inch at 11.5 points).
        cell = definition.proportional ? pluPerInch / 9 * definition.height / 11.5
                                       : pluPerInch / definition.pitch;
        width = cell * 2 / 3;
        height = definition.height * pluPerInch / 72 * 2 / 3;
        line = definition.height * pluPerInch / 72 * 4 / 3;
        break;
    }
    if (m_sizeMode != SizeMode::Font) {
        cell = 1.5 * width;
        line = 2 * height;
    }
    const Point rawDirection = m_relativeDirection
        ? Point { m_direction.x / 100 * (p2.x - p1.x), m_direction.y / 100 * (p2.y - p1.y) }
        : m_direction;
    const Point along = unit(rawDirection);
    const Point normal { -along.y, along.x };
    const double step = cell * (1 + m_extraSpace.x);
    const double lineStep = std::abs(line) * (1 + m_extraSpace.y);
    LabelFont font;
    switch (m_path) {
    case 1:
        font.advance = scaled(normal, -lineStep);
        font.lineFeed = scaled(along, -std::abs(step));
        break;
    case 2:
        // Line feeds turn clockwise from the text path: up when it runs left.
        font.advance = scaled(along, -step);
        font.lineFeed = scaled(normal, lineStep);
        break;
    case 3:
        font.advance = scaled(normal, lineStep);
        font.lineFeed = scaled(along, std::abs(step));
        break;
    default:
        font.advance = scaled(along, step);
        font.lineFeed = scaled(normal, -lineStep);
        break;
    }
    if (m_reverseLineFeed)
        font.lineFeed = scaled(font.lineFeed, -1);
    font.up = add(scaled(normal, height), scaled(along, height * m_slant));
    font.upUnit = normal;
    font.bodyWidth = std::abs(width);
    font.glyphExtent = m_path == 1 || m_path == 3 ? std::abs(height) : std::abs(width);
    font.capHeight = height;
    font.symbolSet = static_cast<int>(definition.symbolSet);
    return font;
}

void HpglInterpreter::drawTextRuns(const std::vector<TextRun> &runs)
{
    if (runs.empty())
        return;
    ensurePenSelected();
    if (!penVisible())
        return;
    markPage();
    const StrokeStyle style = strokeStyle();
    const AffineMap &map = m_coords.rotatedToOutput();
    for (TextRun run : runs) {
        run.origin = map.map(run.origin);
        run.advance = map.mapVector(run.advance);
        run.up = map.mapVector(run.up);
        run.width *= deviceScale();
        m_page.addText(run, style);
    }
}

void HpglInterpreter::label(const PlotCommand &command)
{
    flushPolyline();
    if (command.unterminated)
        warnOnce("a label had no terminator; it was cut at the end of its line");
    const LabelFont fonts[2] = { labelFont(m_standardFont), labelFont(m_alternateFont) };
    const AffineMap &map = m_coords.rotatedToOutput();
    const LabelLayout::Result layout = LabelLayout::layout(command.text, toRotated(m_position),
        toRotated(m_carriageReturn), fonts, m_alternateSelected, m_labelOrigin, m_path, m_transparentData);
    drawTextRuns(layout.runs);
    m_position = map.map(layout.pen);
    m_carriageReturn = map.map(layout.carriageReturn);
    m_alternateSelected = layout.alternate;
}

void HpglInterpreter::symbol(Point at)
{
    if (m_symbol.empty())
        return;
    const LabelFont font = labelFont(m_alternateSelected ? m_alternateFont : m_standardFont);
    TextRun run;
    run.text = m_symbol;
    run.advance = font.advance;
    run.up = font.up;
    run.width = font.bodyWidth;
    const Point centreOffset = add(scaled(unit(font.advance), -font.bodyWidth / 2), scaled(font.up, -0.5));
    run.origin = add(toRotated(at), centreOffset);
    flushPolyline();
    drawTextRuns({ run });
}

void HpglInterpreter::characterPlot(const std::vector<double> &n)
{
    flushPolyline();
    const LabelFont font = labelFont(m_alternateSelected ? m_alternateFont : m_standardFont);
    const AffineMap &map = m_coords.rotatedToOutput();
    if (n.empty()) {
        const Point next = add(toRotated(m_carriageReturn), font.lineFeed);
        m_position = m_carriageReturn = map.map(next);
        return;
    }
    if (n.size() < 2 || !finite(n))
        return;
    const double spaces = std::clamp(n[0], -1e6, 1e6);
    const double lines = std::clamp(n[1], -1e6, 1e6);
    const Point moved
        = add(toRotated(m_position), add(scaled(font.advance, spaces), scaled(font.lineFeed, -lines)));
    m_position = map.map(moved);
    if (lines != 0)
        m_carriageReturn = m_position;
}

} // namespace plotviewer::hpgl
