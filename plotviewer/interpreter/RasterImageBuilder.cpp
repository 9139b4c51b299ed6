#include "RasterImageBuilder.h"

#include <algorithm>

namespace plotviewer::hpgl {

void RasterImageBuilder::start(
    const RasterColours &colours, std::uint32_t width, std::uint32_t height, std::uint64_t pixelAllowance)
{
    m_colours = &colours;
    m_image = RasterImage {};
    m_image.format = colours.format();
    m_image.palette = colours.palette();
    m_image.width = width;
    m_widthDeclared = width > 0;
    m_heightLimit = height;
    m_allowance = pixelAllowance;
    m_rows = 0;
    m_usedWidth = 0;
    m_active = true;
    m_planeLimit = colours.planeBytes(m_widthDeclared ? width : maxWidth);
    if (m_widthDeclared && height > 0 && std::uint64_t(width) * height <= pixelAllowance)
        m_image.pixels.reserve(m_image.bytesPerRow() * height);
}

bool RasterImageBuilder::fits(std::uint32_t width, std::uint64_t rows)
{
    if (std::uint64_t(width) * rows <= m_allowance)
        return true;
    m_attemptedWidth = width;
    m_attemptedRows = rows;
    return false;
}

void RasterImageBuilder::restride(std::uint32_t width)
{
    const std::size_t oldStride = m_image.bytesPerRow();
    m_image.width = width;
    const std::size_t stride = m_image.bytesPerRow();
    std::vector<std::uint8_t> pixels(stride * m_rows, 0);
    for (std::size_t row = 0; row < m_rows; ++row)
        std::copy_n(m_image.pixels.begin() + std::ptrdiff_t(row * oldStride), std::min(oldStride, stride),
            pixels.begin() + std::ptrdiff_t(row * stride));
    m_image.pixels = std::move(pixels);
}

bool RasterImageBuilder::addRow(const std::vector<std::vector<std::uint8_t>> &planes)
{
    if (m_heightLimit > 0 && m_rows >= m_heightLimit)
        return true;
    std::uint32_t width = m_image.width;
    if (!m_widthDeclared) {
        std::size_t longest = 0;
        for (const auto &plane : planes)
            longest = std::max(longest, plane.size());
        const auto used = std::uint32_t(std::min<std::size_t>(m_colours->pixelsIn(longest), maxWidth));
        m_usedWidth = std::max(m_usedWidth, used);
        width = std::max(width, used);
    }
    if (!fits(width, std::uint64_t(m_rows) + 1))
        return false;
    if (width > m_image.width) {
        // Grow in steps, so that rows widening one byte at a time do not copy the image each time.
        const std::uint32_t stepped = std::min(maxWidth, std::max(width, m_image.width + m_image.width / 2));
        restride(fits(stepped, std::uint64_t(m_rows) + 1) ? stepped : width);
    }
    const std::size_t stride = m_image.bytesPerRow();
    m_image.pixels.resize(m_image.pixels.size() + stride);
    if (stride > 0)
        m_colours->composeRow(planes, m_image.width, &m_image.pixels[std::size_t(m_rows) * stride]);
    ++m_rows;
    return true;
}

bool RasterImageBuilder::addBlankRows(std::size_t count)
{
    if (m_heightLimit > 0)
        count = std::min<std::size_t>(count, m_heightLimit - std::min(m_rows, m_heightLimit));
    if (!fits(m_image.width, std::uint64_t(m_rows) + count))
        return false;
    m_rows += std::uint32_t(count);
    m_image.pixels.resize(m_image.bytesPerRow() * m_rows, 0);
    return true;
}

bool RasterImageBuilder::rowIsBlank(std::uint32_t row) const
{
    // White is all ones in RGB, and index 0 in the others when the palette keeps it white.
    const std::uint8_t blank = m_image.format == RasterFormat::Rgb ? 255 : 0;
    if (m_image.format != RasterFormat::Rgb && !(m_image.palette.at(0) == white))
        return false;
    const std::size_t stride = m_image.bytesPerRow();
    const auto first = m_image.pixels.begin() + std::ptrdiff_t(std::size_t(row) * stride);
    return std::all_of(first, first + std::ptrdiff_t(stride), [blank](std::uint8_t b) { return b == blank; });
}

RasterImage RasterImageBuilder::finish(bool trimBlankRows, std::uint32_t &blankTop)
{
    m_active = false;
    if (!m_widthDeclared && m_usedWidth < m_image.width)
        restride(m_usedWidth);
    std::uint32_t top = 0;
    std::uint32_t bottom = m_rows;
    while (trimBlankRows && top < m_rows && rowIsBlank(top))
        ++top;
    while (trimBlankRows && bottom > top && rowIsBlank(bottom - 1))
        --bottom;
    blankTop = top;
    const std::size_t stride = m_image.bytesPerRow();
    m_image.pixels.erase(
        m_image.pixels.begin() + std::ptrdiff_t(std::size_t(bottom) * stride), m_image.pixels.end());
    m_image.pixels.erase(
        m_image.pixels.begin(), m_image.pixels.begin() + std::ptrdiff_t(std::size_t(top) * stride));
    m_image.height = bottom - top;
    m_rows = 0;
    return std::move(m_image);
}

} // namespace plotviewer::hpgl
