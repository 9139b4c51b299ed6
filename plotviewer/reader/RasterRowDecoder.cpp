#include "RasterRowDecoder.h"

#include <algorithm>
#include <cmath>

namespace plotviewer::hpgl {

namespace {

// Writes into a row that grows on demand up to its limit and silently drops what lies beyond.
class RowWriter
{
public:
    RowWriter(std::vector<std::uint8_t> &row, std::size_t limit)
        : m_row(row)
        , m_limit(limit)
    { }

    void fill(std::size_t at, std::size_t count, std::uint8_t value)
    {
        const std::size_t end = std::min(at + std::min(count, m_limit), m_limit);
        if (at >= end)
            return;
        grow(end);
        std::fill(m_row.begin() + static_cast<std::ptrdiff_t>(at),
            m_row.begin() + static_cast<std::ptrdiff_t>(end), value);
    }

    void copy(std::size_t at, std::span<const std::uint8_t> bytes)
    {
        if (at >= m_limit)
            return;
        const std::size_t count = std::min(bytes.size(), m_limit - at);
        grow(at + count);
        std::copy_n(bytes.begin(), count, m_row.begin() + static_cast<std::ptrdiff_t>(at));
    }

private:
    void grow(std::size_t size)
    {
        if (m_row.size() < size)
            m_row.resize(size, 0);
    }

    std::vector<std::uint8_t> &m_row;
    std::size_t m_limit;
};

// Reads bytes off the front of a span; every read says whether the byte was there.
class ByteSource
{
public:
    explicit ByteSource(std::span<const std::uint8_t> data)
        : m_data(data)
    { }

    bool atEnd() const { return m_at == m_data.size(); }
    bool take(std::uint8_t &byte)
    {
        if (atEnd())
            return false;
        byte = m_data[m_at++];
        return true;
    }
    bool take(std::size_t count, std::span<const std::uint8_t> &bytes)
    {
        if (m_data.size() - m_at < count)
            return false;
        bytes = m_data.subspan(m_at, count);
        m_at += count;
        return true;
    }
    /// A count that continues in further bytes while they are 255 (the delta modes' extensions).
    bool addExtension(std::size_t &value)
    {
        std::uint8_t byte = 255;
        while (byte == 255) {
            if (!take(byte))
                return false;
            value += byte;
        }
        return true;
    }

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_at = 0;
};

bool decodeRunLength(ByteSource &in, RowWriter &out)
{
    std::size_t at = 0;
    while (!in.atEnd()) {
        std::uint8_t count = 0;
        std::uint8_t value = 0;
        in.take(count);
        if (!in.take(value))
            return false;
        out.fill(at, std::size_t(count) + 1, value);
        at += std::size_t(count) + 1;
    }
    return true;
}

bool decodePackBits(ByteSource &in, RowWriter &out)
{
    std::size_t at = 0;
    while (!in.atEnd()) {
        std::uint8_t control = 0;
        in.take(control);
        const auto code = static_cast<std::int8_t>(control);
        if (code == -128)
            continue;
        if (code >= 0) {
            std::span<const std::uint8_t> literal;
            if (!in.take(std::size_t(code) + 1, literal))
                return false;
            out.copy(at, literal);
            at += literal.size();
        } else {
            std::uint8_t value = 0;
            if (!in.take(value))
                return false;
            out.fill(at, std::size_t(1 - code), value);
            at += std::size_t(1 - code);
        }
    }
    return true;
}

bool decodeDeltaRow(ByteSource &in, RowWriter &out)
{
    std::size_t at = 0;
    while (!in.atEnd()) {
        std::uint8_t command = 0;
        in.take(command);
        const std::size_t count = (command >> 5) + 1;
        std::size_t offset = command & 0x1f;
        if (offset == 31 && !in.addExtension(offset))
            return false;
        std::span<const std::uint8_t> bytes;
        if (!in.take(count, bytes))
            return false;
        at += offset;
        out.copy(at, bytes);
        at += count;
    }
    return true;
}

bool decodeReplacementDelta(ByteSource &in, RowWriter &out)
{
    std::size_t at = 0;
    while (!in.atEnd()) {
        std::uint8_t command = 0;
        in.take(command);
        const bool repeated = command & 0x80;
        std::size_t offset = repeated ? (command >> 5) & 0x03 : (command >> 3) & 0x0f;
        std::size_t count = repeated ? command & 0x1f : command & 0x07;
        if (offset == (repeated ? 3u : 15u) && !in.addExtension(offset))
            return false;
        if (count == (repeated ? 31u : 7u) && !in.addExtension(count))
            return false;
        count += repeated ? 2 : 1;
        at += offset;
        if (repeated) {
            std::uint8_t value = 0;
            if (!in.take(value))
                return false;
            out.fill(at, count, value);
        } else {
            std::span<const std::uint8_t> bytes;
            if (!in.take(count, bytes))
                return false;
            out.copy(at, bytes);
        }
        at += count;
    }
    return true;
}

} // namespace

bool rasterCompressionFromNumber(double value, RasterCompression &mode)
{
    // Whole and in range before the cast: turning a number beyond int into one is undefined.
    if (!(value >= 0 && value <= 9) || value != std::trunc(value))
        return false;
    switch (static_cast<int>(value)) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 5:
    case 9:
        mode = static_cast<RasterCompression>(static_cast<int>(value));
        return true;
    default:
        return false;
    }
}

bool decodeRasterRow(RasterCompression mode, std::span<const std::uint8_t> data,
    std::vector<std::uint8_t> &row, std::size_t limit)
{
    ByteSource in(data);
    RowWriter out(row, limit);
    switch (mode) {
    case RasterCompression::Unencoded:
        row.clear();
        out.copy(0, data);
        return true;
    case RasterCompression::RunLength:
        row.clear();
        return decodeRunLength(in, out);
    case RasterCompression::PackBits:
        row.clear();
        return decodePackBits(in, out);
    case RasterCompression::DeltaRow:
        return decodeDeltaRow(in, out);
    case RasterCompression::ReplacementDelta:
        return decodeReplacementDelta(in, out);
    case RasterCompression::Adaptive:
        break;
    }
    return false;
}

AdaptiveBlockReader::Step AdaptiveBlockReader::next(
    std::vector<std::uint8_t> &row, std::size_t limit, std::size_t &count)
{
    if (m_rest.empty())
        return Step::End;
    if (m_rest.size() < 3)
        return Step::Malformed;
    const std::uint8_t command = m_rest[0];
    const std::size_t size = std::size_t(m_rest[1]) << 8 | m_rest[2];
    m_rest = m_rest.subspan(3);
    switch (command) {
    case 0:
    case 1:
    case 2:
    case 3: {
        if (size > m_rest.size())
            return Step::Malformed;
        const bool decoded
            = decodeRasterRow(static_cast<RasterCompression>(command), m_rest.first(size), row, limit);
        m_rest = m_rest.subspan(size);
        return decoded ? Step::Row : Step::Malformed;
    }
    case 4:
        count = size;
        return Step::BlankRows;
    case 5:
        count = size;
        return Step::RepeatRows;
    default:
        return Step::Malformed;
    }
}

} // namespace plotviewer::hpgl
