#pragma once
// The PCL cursor, raster graphics and rectangle fills: executes the reader's cursor, raster and
// area-fill commands, decodes the rows, and hands each finished image and rectangle to the page in
// the order it was drawn.

#include "PageBuilder.h"
#include "PageSetup.h"
#include "PclAreaFill.h"
#include "RasterColours.h"
#include "RasterImageBuilder.h"
#include "plotviewer/reader/PlotCommand.h"
#include "plotviewer/reader/RasterRowDecoder.h"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace plotviewer::hpgl {

/// For ESC%#A, ESC%#B and ESC*r#A: odd values carry the current position over (cursor or pen),
/// even ones leave it.
inline bool keepsPosition(double mode)
{
    return std::fmod(std::fabs(mode), 2) >= 1;
}

class PclPageGraphics
{
public:
    /// The most pixels the images of one page may hold.
    static constexpr std::uint64_t maxPixelsPerPage = std::uint64_t(256) << 20;

    using Warn = std::function<void(const std::string &)>;
    PclPageGraphics(PageBuilder &page, Warn warn);

    /// ESC E: ends any image and restores every default.
    void reset();
    /// Executes one PclGraphics command on `page`.
    void execute(const PlotCommand &command, const PclPage &page);
    /// Ends the image in progress, if any: HP-GL/2, the page or the job takes over.
    void endImage();
    /// A new page: its pixel allowance starts afresh.
    void startPage() { m_pixelsOnPage = 0; }
    /// PCL text on page `page` (counted from 1), which is not drawn: a warning once for each page.
    void noteText(std::size_t page);

    /// The PCL cursor, in page units, for the cursor's (0, 0) at `origin`.
    Point cursor(Point origin) const { return { origin.x + m_cursor.x, origin.y + m_cursor.y }; }
    void setCursor(Point cursor, Point origin) { m_cursor = { cursor.x - origin.x, cursor.y - origin.y }; }

    /// Why the plot cannot be shown (an image past the size limits); empty while all is well.
    const std::string &error() const { return m_error; }

private:
    void startImage(double mode);
    void startSegment();
    void transfer(const PlotCommand &command, bool lastPlane);
    void transferAdaptive(std::span<const std::uint8_t> data);
    bool addRow();
    void skipRows(double count);
    void abandonImage(const std::string &reason);
    void tooLarge(std::uint64_t width, std::uint64_t height);
    void moveCursor(double value, bool relative, double unit, bool vertical);
    void fillRectangle(double type);
    double pixelSize() const;

    PageBuilder &m_page;
    Warn m_warn;
    RasterColours m_colours;
    PclAreaFill m_areaFill;
    RasterImageBuilder m_builder;
    std::vector<std::vector<std::uint8_t>> m_planes; // the seed rows
    std::size_t m_plane = 0; // the plane the next transfer fills

    RasterCompression m_compression = RasterCompression::Unencoded;
    double m_resolution = 75; // dots per inch
    std::uint32_t m_sourceWidth = 0; // 0 = not declared
    std::uint32_t m_sourceHeight = 0;
    bool m_transparent = true;
    bool m_physicalPresentation = true; // ESC*r3F: rows along the paper's width whatever the orientation
    double m_unitsPerInch = 300; // PCL units

    PclPage m_pclPage; // as the last command found it
    Point m_cursor; // from the page's origin, in page units
    Point m_across; // one pixel along a row of the image being drawn, in page units
    Point m_down; // one row further
    bool m_inRaster = false;
    bool m_abandoned = false; // bad data ended the image; its remaining rows are dropped
    Point m_segmentOrigin; // the top left of the rows since the start or the last Y offset, as m_cursor
    std::uint64_t m_rowsLeft = 0; // under a declared height
    std::uint64_t m_pixelsOnPage = 0;
    std::size_t m_textPage = 0; // the last page whose text was reported
    std::string m_error;
};

} // namespace plotviewer::hpgl
