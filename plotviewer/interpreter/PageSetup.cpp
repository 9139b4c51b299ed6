#include "PageSetup.h"

#include "InstructionArguments.h"
#include "plotviewer/model/PlotUnits.h"

#include <algorithm>
#include <cmath>

namespace plotviewer::hpgl {

namespace {

constexpr double plotUnitsPerDecipoint = plotUnitsPerInch / decipointsPerInch;
constexpr double pclLogicalPageMargin = 0.25 * plotUnitsPerInch;
// The default picture frame leaves half an inch above and below, the default top margin.
constexpr double pclTopMargin = 0.5 * plotUnitsPerInch;
// Pen plotter A4 hard-clip limits, for files that never give a page size.
constexpr double nominalWidth = 11206;
constexpr double nominalHeight = 8242;

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
            width = paper.width * plotUnitsPerInch;
            length = paper.length * plotUnitsPerInch;
            return true;
        }
    }
    return false;
}

} // namespace

void PageSetup::reset()
{
    m_pcl = {};
    m_psLength = m_psWidth = 0;
}

Point PageSetup::pclOrigin() const
{
    if (m_pcl.context)
        return { 0, m_logicalPageTop - m_pcl.topMargin * plotUnitsPerInch };
    return { 0, 0 };
}

PclPage PageSetup::pclPage() const
{
    const int orientation = static_cast<int>(m_pcl.orientation);
    if (m_pcl.context)
        return { pclOrigin(), m_largestFrame, orientation };
    return { pclOrigin(), Rect {}, orientation, { 0, 1 }, { 1, 0 } };
}

double PageSetup::logicalPageLength() const
{
    double width = 0;
    double length = 0;
    pclPaper(m_pcl.pageSize, width, length);
    return static_cast<int>(m_pcl.orientation) % 2 == 1 ? width : length;
}

void PageSetup::setTopMargin(double lines)
{
    // A margin at or below the foot of the page is ignored, as printers do.
    const double margin = lines * m_pcl.lineSpacing;
    if (lines >= 0 && margin * plotUnitsPerInch < logicalPageLength())
        m_pcl.topMargin = margin;
}

bool PageSetup::enterHpgl(double mode)
{
    // A plotter job that already gave its size with PS keeps it across PCL round trips.
    const bool pcl = mode >= 0 && (m_pcl.setupSeen || m_psLength == 0);
    if (pcl == m_pcl.context)
        return false;
    m_pcl.context = pcl;
    return true;
}

bool PageSetup::startsPage(CommandKind kind, double value)
{
    double width = 0;
    double length = 0;
    if (kind == CommandKind::PageSize)
        return pclPaper(value, width, length);
    return kind == CommandKind::Orientation && value >= 0 && value <= 3;
}

bool PageSetup::setPclValue(CommandKind kind, double value)
{
    switch (kind) {
    case CommandKind::PageSize:
    case CommandKind::Orientation:
        if (!startsPage(kind, value))
            return false;
        (kind == CommandKind::PageSize ? m_pcl.pageSize : m_pcl.orientation) = value;
        m_pcl.pageSizeGiven = m_pcl.pageSizeGiven || kind == CommandKind::PageSize;
        m_pcl.frameWidth = m_pcl.frameHeight = m_pcl.plotWidth = m_pcl.plotHeight = 0;
        m_pcl.topMargin = Pcl {}.topMargin;
        break;
    case CommandKind::TopMargin:
        setTopMargin(value);
        return false;
    case CommandKind::LineSpacing:
        if (value >= 0 && value <= 32767) // 1/48 inch
            m_pcl.lineSpacing = value / 48;
        return false;
    case CommandKind::LinesPerInch:
        if (value >= 1 && value <= 48)
            m_pcl.lineSpacing = 1 / std::round(value);
        return false;
    case CommandKind::LeftOffset:
        if (std::isfinite(value) && std::abs(value) <= 32767)
            m_pcl.leftOffset = value;
        break;
    case CommandKind::TopOffset:
        if (std::isfinite(value) && std::abs(value) <= 32767)
            m_pcl.topOffset = value;
        break;
    case CommandKind::PictureFrameWidth:
        m_pcl.frameWidth = std::max(value, 0.0);
        break;
    case CommandKind::PictureFrameHeight:
        m_pcl.frameHeight = std::max(value, 0.0);
        break;
    case CommandKind::PlotSizeWidth:
        m_pcl.plotWidth = std::max(value, 0.0);
        break;
    case CommandKind::PlotSizeHeight:
        m_pcl.plotHeight = std::max(value, 0.0);
        break;
    default:
        return false;
    }
    m_pcl.setupSeen = true;
    return true;
}

bool PageSetup::setPlotSize(const std::vector<double> &n)
{
    // PCL printers take the page size from PCL, and PS; only means "no plot size", not a plotter job.
    if (m_pcl.context && (m_pcl.setupSeen || n.empty()))
        return false;
    if (!allFinite(n) || (!n.empty() && !(n[0] > 0)) || (n.size() > 1 && !(n[1] > 0)))
        return false;
    m_pcl.context = false;
    m_psLength = n.empty() ? 0 : n[0];
    m_psWidth = n.size() > 1 ? n[1] : 0;
    return true;
}

bool PageSetup::plotSizeMaySwap() const
{
    return !m_pcl.context && m_psLength > 0 && m_psWidth > 0;
}

bool PageSetup::frameAssumed() const
{
    return m_pcl.context && !m_pcl.pageSizeGiven && m_pcl.frameWidth <= 0 && m_pcl.frameHeight <= 0;
}

void PageSetup::setWindow(const Rect &window)
{
    m_window = window;
    m_windowSet = true;
}

void PageSetup::applyFrame(CoordinateSystem &coords, bool pageHasMarks)
{
    if (m_pcl.context) {
        double paperWidth = 0;
        double paperLength = 0;
        pclPaper(m_pcl.pageSize, paperWidth, paperLength);
        if (static_cast<int>(m_pcl.orientation) % 2 == 1)
            std::swap(paperWidth, paperLength);
        const double frameWidth = m_pcl.frameWidth > 0 ? m_pcl.frameWidth * plotUnitsPerDecipoint
                                                       : paperWidth - 2 * pclLogicalPageMargin;
        const double frameHeight = m_pcl.frameHeight > 0 ? m_pcl.frameHeight * plotUnitsPerDecipoint
                                                         : paperLength - 2 * pclTopMargin;
        const double plotWidth = m_pcl.plotWidth > 0 ? m_pcl.plotWidth * plotUnitsPerInch : frameWidth;
        const double plotHeight = m_pcl.plotHeight > 0 ? m_pcl.plotHeight * plotUnitsPerInch : frameHeight;
        coords.setFrame(plotWidth, plotHeight, false);
        coords.setDeviceScale(frameWidth / plotWidth, frameHeight / plotHeight);
        // The paper stays where the page's first marks put it: a picture frame set later moves
        // only what is drawn after it.
        const double top = frameHeight + pclTopMargin;
        if (!pageHasMarks) {
            // The registration offsets move the logical page on the paper: here, the paper under it.
            const double left = -pclLogicalPageMargin - m_pcl.leftOffset * plotUnitsPerDecipoint;
            const double paperTop = top + m_pcl.topOffset * plotUnitsPerDecipoint;
            m_largestFrame = { left, paperTop - paperLength, left + paperWidth, paperTop };
            m_logicalPageTop = top;
        }
    } else if (m_psLength > 0) {
        coords.setFrame(m_psLength, m_psWidth > 0 ? m_psWidth : m_psLength, false);
        coords.setDeviceScale(1, 1);
        const Rect frame { 0, 0, m_psLength, m_psWidth };
        if (pageHasMarks && !m_largestFrame.isEmpty())
            m_largestFrame = { 0, 0, std::max(frame.right, m_largestFrame.right),
                std::max(frame.top, m_largestFrame.top) };
        else
            m_largestFrame = frame;
    } else {
        coords.setFrame(nominalWidth, nominalHeight, true);
        coords.setDeviceScale(1, 1);
        m_largestFrame = {};
    }
    m_windowSet = false;
}

PageSetup::Clip PageSetup::clip(const CoordinateSystem &coords) const
{
    Rect frame = everywhere;
    if (m_pcl.context || m_psLength > 0) {
        frame = coords.frameInOutput();
        if (!m_pcl.context && m_psWidth <= 0) {
            frame.bottom = -unbounded;
            frame.top = unbounded;
        }
    }
    const Rect window = m_windowSet ? m_window : everywhere;
    const Rect swapped = plotSizeMaySwap() ? Rect { 0, 0, m_psWidth, m_psLength } : frame;
    // An assumed page only watches its frame.
    return { frameAssumed() ? everywhere : frame, window, frame, swapped };
}

void PageSetup::noteMark(int rotation)
{
    if (!m_pageRotationKnown) {
        m_pageRotation = rotation;
        m_pageRotationKnown = true;
    }
}

Rect PageSetup::pageFrame(const CoordinateSystem &coords, bool hasMarks, const Rect &inkBounds) const
{
    // The page is the one the device lays out; RO turns the drawing inside it, never the page.
    if (m_pcl.context || !hasMarks || !(m_psLength > 0 && m_psWidth <= 0))
        return m_largestFrame;
    // Only the length is known: the drawing's extent gives the width. RO 180 and 270 put the origin
    // on the far side, which stays where the assumed width put it; the near side follows the ink.
    if (m_pageRotation == 180 || m_pageRotation == 270)
        return { 0, std::min(inkBounds.bottom, coords.frameHeight() - 1), m_psLength,
            std::max(inkBounds.top, coords.frameHeight()) };
    return { 0, std::min(0.0, inkBounds.bottom), m_psLength, std::max(inkBounds.top, 1.0) };
}

Rect PageSetup::swappedPageFrame() const
{
    return { 0, 0, m_largestFrame.top, m_largestFrame.right };
}

void PageSetup::pageFinished()
{
    m_pageRotationKnown = false;
    if (!m_pcl.context && m_psLength > 0)
        m_largestFrame = { 0, 0, m_psLength, m_psWidth };
}

} // namespace plotviewer::hpgl
