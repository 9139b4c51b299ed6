#pragma once
// Expands the compressed data of one PCL raster transfer into raster rows. The delta modes change
// the previous row (the seed row) in place; the others replace it.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace plotviewer::hpgl {

enum class RasterCompression : std::uint8_t {
    Unencoded = 0,
    RunLength = 1,
    PackBits = 2, // TIFF
    DeltaRow = 3,
    Adaptive = 5, // a block of rows, each in mode 0 to 3, or blank or repeated rows
    ReplacementDelta = 9,
};

/// The mode for a `ESC*b#M` value; false for values that name no mode this reader knows.
bool rasterCompressionFromNumber(double value, RasterCompression &mode);

/// Decodes one row of `mode` (any mode but Adaptive) from `data` into `row`. `row` comes in as the
/// seed row and leaves as the new row; bytes past its end count as zero. The row grows to at most
/// `limit` bytes; data beyond that is dropped, as a printer clips it. False when the data breaks
/// the mode's rules (a run or command cut short); the row then holds what was decoded before.
bool decodeRasterRow(RasterCompression mode, std::span<const std::uint8_t> data,
    std::vector<std::uint8_t> &row, std::size_t limit);

/// Walks the rows of one adaptive (mode 5) block. Each step either decodes a row into the seed row
/// or says how many blank rows or copies of the seed row follow.
class AdaptiveBlockReader
{
public:
    explicit AdaptiveBlockReader(std::span<const std::uint8_t> block)
        : m_rest(block)
    { }

    enum class Step : std::uint8_t { Row, BlankRows, RepeatRows, End, Malformed };

    /// The next step; for BlankRows and RepeatRows `count` says how many rows.
    Step next(std::vector<std::uint8_t> &row, std::size_t limit, std::size_t &count);

private:
    std::span<const std::uint8_t> m_rest;
};

} // namespace plotviewer::hpgl
