#pragma once
// Collects the decoded rows of one raster image into its pixels. The width is the declared source
// width, or, without one, grows to the widest row; rows past a declared height are dropped.

#include "RasterColours.h"

#include <cstdint>
#include <vector>

namespace plotviewer::hpgl {

class RasterImageBuilder
{
public:
    /// The widest image: 54 inches at 1200 dots per inch. Rows without a declared width are cut here.
    static constexpr std::uint32_t maxWidth = 65536;

    /// Starts an image of `colours`' format; 0 for a width or height not declared. Rows stop at
    /// `pixelAllowance` pixels: see tooLarge.
    void start(const RasterColours &colours, std::uint32_t width, std::uint32_t height,
        std::uint64_t pixelAllowance);
    bool active() const { return m_active; }
    /// The longest a plane of a row may be, in bytes.
    std::size_t planeLimit() const { return m_planeLimit; }

    /// Appends a row made of `planes`; false once the image would pass the pixel allowance.
    bool addRow(const std::vector<std::vector<std::uint8_t>> &planes);
    bool addBlankRows(std::size_t count);
    std::uint32_t rows() const { return m_rows; }
    /// The width and height the image would have had when it went past the allowance.
    std::uint32_t attemptedWidth() const { return m_attemptedWidth; }
    std::uint64_t attemptedRows() const { return m_attemptedRows; }

    /// Ends the image. With `trimBlankRows`, white rows at the top and bottom are cut off (those at
    /// the top counted in `blankTop`), leaving no rows when nothing was inked.
    RasterImage finish(bool trimBlankRows, std::uint32_t &blankTop);

private:
    bool fits(std::uint32_t width, std::uint64_t rows);
    void restride(std::uint32_t width);
    bool rowIsBlank(std::uint32_t row) const;

    const RasterColours *m_colours = nullptr;
    RasterImage m_image;
    bool m_active = false;
    bool m_widthDeclared = false;
    std::uint32_t m_heightLimit = 0; // 0 = none
    std::uint64_t m_allowance = 0;
    std::uint32_t m_attemptedWidth = 0;
    std::uint64_t m_attemptedRows = 0;
    std::size_t m_planeLimit = 0;
    std::uint32_t m_rows = 0;
    std::uint32_t m_usedWidth = 0; // the widest row, when the width is not declared
};

} // namespace plotviewer::hpgl
