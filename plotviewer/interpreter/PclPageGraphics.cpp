#include "PclPageGraphics.h"

#include "plotviewer/model/Geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace plotviewer::hpgl {

namespace {

constexpr double pluPerInch = 1016;
constexpr double maxResolution = 4800;

std::span<const std::uint8_t> bytesOf(std::string_view text)
{
    return { reinterpret_cast<const std::uint8_t *>(text.data()), text.size() };
}

// A declared width or height; 0 (not declared) for values that are not positive.
std::uint64_t declaredCount(double value)
{
    return std::isfinite(value) && value >= 1 ? std::uint64_t(std::min(value, 1e15)) : 0;
}

} // namespace

PclPageGraphics::PclPageGraphics(PageBuilder &page, Warn warn)
    : m_page(page)
    , m_warn(std::move(warn))
{
    reset();
}

void PclPageGraphics::reset()
{
    endImage();
    m_colours.reset();
    m_areaFill.reset();
    m_physicalPresentation = true;
    m_compression = RasterCompression::Unencoded;
    m_resolution = 75;
    m_sourceWidth = m_sourceHeight = 0;
    m_transparent = true;
    m_unitsPerInch = 300;
    m_cursor = {};
}

double PclPageGraphics::pixelSize() const
{
    return pluPerInch / m_resolution;
}

void PclPageGraphics::noteText(std::size_t page)
{
    if (page == m_textPage)
        return;
    m_textPage = page;
    m_warn("PCL text is not drawn (page " + std::to_string(page) + ")");
}

void PclPageGraphics::execute(const PlotCommand &command, const PclPage &page)
{
    if (!m_error.empty())
        return;
    m_pclPage = page;
    const double value = command.value;
    switch (command.graphics) {
    case PclGraphics::StartRaster:
        startImage(value);
        return;
    case PclGraphics::EndRasterAndReset:
        m_compression = RasterCompression::Unencoded;
        [[fallthrough]];
    case PclGraphics::EndRaster:
        endImage();
        return;
    case PclGraphics::TransferRow:
    case PclGraphics::TransferPlane:
        transfer(command, command.graphics == PclGraphics::TransferRow);
        return;
    case PclGraphics::YOffset:
        skipRows(value);
        return;
    case PclGraphics::Compression:
        if (!rasterCompressionFromNumber(value, m_compression))
            m_warn("raster rows in compression mode " + std::to_string(std::llround(value))
                + " are not supported");
        return;
    case PclGraphics::CursorX:
    case PclGraphics::CursorY:
        moveCursor(
            value, command.relative, pluPerInch / m_unitsPerInch, command.graphics == PclGraphics::CursorY);
        return;
    case PclGraphics::CursorXDecipoints:
    case PclGraphics::CursorYDecipoints:
        moveCursor(value, command.relative, pluPerInch / decipointsPerInch,
            command.graphics == PclGraphics::CursorYDecipoints);
        return;
    case PclGraphics::UnitOfMeasure:
        if (value >= 96 && value <= 7200)
            m_unitsPerInch = value;
        return;
    case PclGraphics::RectangleWidth:
    case PclGraphics::RectangleHeight:
    case PclGraphics::RectangleWidthDecipoints:
    case PclGraphics::RectangleHeightDecipoints: {
        const PclGraphics kind = command.graphics;
        const bool decipoints
            = kind == PclGraphics::RectangleWidthDecipoints || kind == PclGraphics::RectangleHeightDecipoints;
        const double size = value * pluPerInch / (decipoints ? decipointsPerInch : m_unitsPerInch);
        if (kind == PclGraphics::RectangleWidth || kind == PclGraphics::RectangleWidthDecipoints)
            m_areaFill.setWidth(size);
        else
            m_areaFill.setHeight(size);
        return;
    }
    case PclGraphics::AreaFill:
        m_areaFill.setAreaFill(value);
        return;
    case PclGraphics::FillRectangle:
        fillRectangle(value);
        return;
    case PclGraphics::UserPattern:
        if (command.unterminated || !m_areaFill.definePattern(bytesOf(command.text)))
            m_warn("a PCL user pattern (ESC*c#W) that cannot be read was ignored");
        return;
    case PclGraphics::CurrentPattern:
        m_areaFill.selectCurrentPattern(value);
        return;
    case PclGraphics::ConfigureRasterData:
        // Its rows would come out as noise; better none at all, and why.
        m_error = "the raster data is configured with ESC*g#W, as DeskJet 600 and later printers take it, "
                  "which is not drawn";
        return;
    default:
        break;
    }
    if (m_inRaster)
        return; // the image's set-up holds until it ends
    switch (command.graphics) {
    case PclGraphics::Resolution:
        if (value > 0 && value <= maxResolution)
            m_resolution = value;
        return;
    case PclGraphics::SourceWidth:
        m_sourceWidth = std::uint32_t(std::min<std::uint64_t>(
            declaredCount(value), std::uint64_t(std::numeric_limits<std::uint32_t>::max())));
        return;
    case PclGraphics::SourceHeight:
        m_sourceHeight = std::uint32_t(std::min<std::uint64_t>(
            declaredCount(value), std::uint64_t(std::numeric_limits<std::uint32_t>::max())));
        return;
    case PclGraphics::ConfigureImageData:
        if (!m_colours.configure(bytesOf(command.text)))
            m_warn("a raster colour configuration (ESC*v#W) that cannot be drawn was ignored");
        return;
    case PclGraphics::SimpleColour:
        m_colours.setSimpleColour(value);
        return;
    case PclGraphics::PaletteRed:
    case PclGraphics::PaletteGreen:
    case PclGraphics::PaletteBlue:
        m_colours.setComponent(int(command.graphics) - int(PclGraphics::PaletteRed), value);
        return;
    case PclGraphics::PaletteAssign:
        m_colours.assign(value);
        return;
    case PclGraphics::SourceTransparency:
        m_transparent = value == 0;
        return;
    case PclGraphics::Presentation:
        if (value == 0 || value == 3)
            m_physicalPresentation = value == 3;
        return;
    default:
        return;
    }
}

void PclPageGraphics::fillRectangle(double type)
{
    const Point topLeft = cursor(m_pclPage.origin);
    if (const auto rectangle
        = m_areaFill.fill(type, topLeft, m_pclPage.right, m_pclPage.down, m_pclPage.paper)) {
        const Rect &r = rectangle->area;
        m_page.addRectangle(r, rectangle->style);
    }
}

void PclPageGraphics::moveCursor(double value, bool relative, double unit, bool vertical)
{
    if (!std::isfinite(value))
        return;
    // Inside an image the rows so far end where they are, and the next ones follow from the cursor's
    // new place: printers without Y offsets skip blank rows so.
    const bool inImage = m_inRaster && !m_abandoned && m_builder.active();
    if (inImage)
        endImage();
    const Point axis = vertical ? m_pclPage.down : m_pclPage.right;
    const double coordinate = dot(m_cursor, axis);
    const double moved = relative ? coordinate + value * unit : value * unit;
    m_cursor = add(m_cursor, scaled(axis, moved - coordinate));
    if (inImage) {
        m_inRaster = true;
        startSegment();
    }
}

void PclPageGraphics::startImage(double mode)
{
    endImage();
    m_inRaster = true;
    m_abandoned = false;
    // Rows run along the logical page, or in landscape with the physical presentation along the
    // paper's width: down the logical page, each row left of the one before.
    const double pixel = pixelSize();
    const bool turned = m_physicalPresentation && m_pclPage.orientation % 2 == 1;
    const Point &right = m_pclPage.right;
    const Point &down = m_pclPage.down;
    m_across = scaled(turned ? down : right, pixel);
    m_down = scaled(turned ? scaled(right, -1) : down, pixel);
    // Even modes start at the left graphics margin, odd ones at the cursor.
    if (!keepsPosition(mode)) {
        const Point along = turned ? down : right;
        m_cursor = add(m_cursor, scaled(along, -dot(m_cursor, along)));
    }
    m_rowsLeft = m_sourceHeight > 0 ? m_sourceHeight : std::numeric_limits<std::uint64_t>::max();
    if (m_sourceWidth > RasterImageBuilder::maxWidth) {
        tooLarge(m_sourceWidth, std::max<std::uint64_t>(m_sourceHeight, 1));
        return;
    }
    if (std::uint64_t(m_sourceWidth) * m_sourceHeight > maxPixelsPerPage - m_pixelsOnPage) {
        tooLarge(m_sourceWidth, m_sourceHeight);
        return;
    }
    startSegment();
}

void PclPageGraphics::startSegment()
{
    m_planes.assign(std::size_t(m_colours.planeCount()), {});
    m_plane = 0;
    m_segmentOrigin = m_cursor;
    const auto height = std::uint32_t(
        std::min<std::uint64_t>(m_rowsLeft, std::uint64_t(std::numeric_limits<std::uint32_t>::max())));
    m_builder.start(
        m_colours, m_sourceWidth, m_sourceHeight > 0 ? height : 0, maxPixelsPerPage - m_pixelsOnPage);
}

void PclPageGraphics::endImage()
{
    if (!m_builder.active()) {
        m_inRaster = false;
        m_abandoned = false;
        return;
    }
    const std::uint32_t rows = m_builder.rows();
    std::uint32_t blankTop = 0;
    RasterImage image = m_builder.finish(m_transparent, blankTop);
    m_cursor = add(m_segmentOrigin, scaled(m_down, rows));
    m_pixelsOnPage += std::uint64_t(image.width) * image.height;
    m_inRaster = false;
    if (image.height == 0 || image.width == 0)
        return;
    image.whiteIsTransparent = m_transparent;
    image.origin = add(cursor(m_pclPage.origin), scaled(m_down, double(blankTop) - rows));
    image.across = m_across;
    image.down = m_down;
    m_page.addImage(std::move(image));
}

void PclPageGraphics::tooLarge(std::uint64_t width, std::uint64_t height)
{
    m_error = "the raster image of " + std::to_string(width) + " x " + std::to_string(height)
        + " pixels is too large to display (more than " + std::to_string(RasterImageBuilder::maxWidth)
        + " pixels wide or " + std::to_string(maxPixelsPerPage) + " pixels on a page)";
    m_inRaster = false;
}

void PclPageGraphics::abandonImage(const std::string &reason)
{
    m_warn("a raster image ends early at row " + std::to_string(m_builder.rows() + 1) + ": " + reason);
    endImage();
    m_inRaster = true; // its remaining rows are dropped until the image ends
    m_abandoned = true;
}

bool PclPageGraphics::addRow()
{
    if (m_rowsLeft == 0)
        return true;
    if (!m_builder.addRow(m_planes)) {
        tooLarge(m_builder.attemptedWidth(), m_builder.attemptedRows());
        return false;
    }
    --m_rowsLeft;
    return true;
}

void PclPageGraphics::transfer(const PlotCommand &command, bool lastPlane)
{
    if (m_abandoned)
        return;
    if (!m_inRaster)
        startImage(0);
    if (!m_error.empty())
        return;
    const std::span<const std::uint8_t> data = bytesOf(command.text);
    // Adaptive blocks hold the rows of one plane; with more, each transfer is one plane's row.
    const RasterCompression mode
        = m_compression == RasterCompression::Adaptive ? RasterCompression::Unencoded : m_compression;
    if (m_compression == RasterCompression::Adaptive && m_planes.size() == 1) {
        transferAdaptive(data);
    } else if (m_plane < m_planes.size()) {
        const bool decoded = decodeRasterRow(mode, data, m_planes[m_plane], m_builder.planeLimit());
        if (!decoded || command.unterminated) {
            abandonImage(
                command.unterminated ? "the file ends inside the row" : "its compressed data is malformed");
            return;
        }
        ++m_plane;
    }
    if (!lastPlane)
        return;
    // Each plane keeps a seed row of its own. One a row leaves out is decoded from no data: blank
    // in the modes that replace the row, the seed row again in the delta modes.
    for (std::size_t plane = m_plane; plane < m_planes.size(); ++plane)
        decodeRasterRow(mode, {}, m_planes[plane], m_builder.planeLimit());
    m_plane = 0;
    if (m_compression != RasterCompression::Adaptive || m_planes.size() != 1)
        addRow();
}

void PclPageGraphics::transferAdaptive(std::span<const std::uint8_t> data)
{
    AdaptiveBlockReader block(data);
    std::size_t count = 0;
    for (;;) {
        switch (block.next(m_planes.front(), m_builder.planeLimit(), count)) {
        case AdaptiveBlockReader::Step::Row:
            if (!addRow())
                return;
            break;
        case AdaptiveBlockReader::Step::BlankRows:
            m_planes.front().clear();
            [[fallthrough]];
        case AdaptiveBlockReader::Step::RepeatRows:
            for (std::size_t i = 0; i < count && m_rowsLeft > 0; ++i) {
                if (!addRow())
                    return;
            }
            break;
        case AdaptiveBlockReader::Step::End:
            return;
        case AdaptiveBlockReader::Step::Malformed:
            abandonImage("its compressed data is malformed");
            return;
        }
    }
}

void PclPageGraphics::skipRows(double count)
{
    if (!(count >= 1) || m_abandoned)
        return;
    if (!m_inRaster)
        startImage(0);
    if (!m_error.empty())
        return;
    // The skipped rows stay white: the rows so far become an image and the next ones a new one.
    endImage();
    m_inRaster = true;
    const std::uint64_t skipped = std::min<std::uint64_t>(declaredCount(count), m_rowsLeft);
    m_rowsLeft -= skipped;
    m_cursor = add(m_cursor, scaled(m_down, double(skipped)));
    startSegment();
}

} // namespace plotviewer::hpgl
