#include "RasterColours.h"

#include <algorithm>
#include <cmath>

namespace plotviewer::hpgl {

namespace {

constexpr Rgb black {};

std::uint8_t bitAt(const std::vector<std::uint8_t> &plane, std::size_t pixel)
{
    const std::size_t byte = pixel / 8;
    return byte < plane.size() ? (plane[byte] >> (7 - pixel % 8)) & 1 : 0;
}

} // namespace

void RasterColours::reset()
{
    m_encoding = Encoding::IndexedByPlane;
    m_planes = 1;
    m_bitsPerIndex = 1;
    m_subtractive = false;
    m_componentBits = 8;
    std::fill(std::begin(m_components), std::end(m_components), 0.0);
    m_palette = { white, black };
}

void RasterColours::setCube(int bits, bool subtractive)
{
    // Plane i carries bit i of the index: red, green, blue (or cyan, magenta, yellow).
    m_palette.assign(std::size_t(1) << bits, black);
    for (std::size_t i = 0; i < 8 && i < m_palette.size(); ++i) {
        auto level
            = [&](std::size_t bit) -> std::uint8_t { return ((i >> bit) & 1) != subtractive ? 255 : 0; };
        m_palette[i] = { level(0), level(1), level(2) };
    }
    if (bits == 1)
        m_palette = { white, black };
}

bool RasterColours::setSimpleColour(double mode)
{
    if (mode == 1) {
        reset();
        return true;
    }
    if (mode != 3 && mode != -3 && mode != -4)
        return false;
    reset();
    m_planes = m_bitsPerIndex = mode == -4 ? 4 : 3;
    m_subtractive = mode < 0;
    setCube(3, m_subtractive);
    if (mode == -4) {
        // The black plane comes first and covers whatever the colour planes say.
        std::vector<Rgb> colours = m_palette;
        m_palette.assign(16, black);
        for (std::size_t i = 0; i < 16; i += 2)
            m_palette[i] = colours[i / 2];
    }
    return true;
}

bool RasterColours::configure(std::span<const std::uint8_t> data)
{
    if (data.size() < 6)
        return false;
    const int space = data[0];
    const int encoding = data[1];
    const int bitsPerIndex = data[2];
    const int bitsPerPrimary = data[3];
    if (space > 1 || bitsPerPrimary < 1 || bitsPerPrimary > 16)
        return false;
    const bool subtractive = space == 1;
    switch (encoding) {
    case 0: // indexed by plane
        if (bitsPerIndex < 1 || bitsPerIndex > 8)
            return false;
        m_encoding = Encoding::IndexedByPlane;
        m_planes = bitsPerIndex;
        break;
    case 1: // indexed by pixel
        if (bitsPerIndex != 1 && bitsPerIndex != 2 && bitsPerIndex != 4 && bitsPerIndex != 8)
            return false;
        m_encoding = Encoding::IndexedByPixel;
        m_planes = 1;
        break;
    case 2: // direct by plane: one bit per primary, a plane each
        m_encoding = Encoding::IndexedByPlane;
        m_planes = 3;
        m_bitsPerIndex = 3;
        m_subtractive = subtractive;
        m_componentBits = bitsPerPrimary;
        setCube(3, subtractive);
        return true;
    case 3: // direct by pixel
        if (bitsPerPrimary != 8)
            return false;
        m_encoding = Encoding::DirectByPixel;
        m_planes = 1;
        m_bitsPerIndex = 24;
        m_subtractive = subtractive;
        m_componentBits = 8;
        m_palette.clear();
        return true;
    default:
        return false;
    }
    m_bitsPerIndex = bitsPerIndex;
    m_subtractive = subtractive;
    m_componentBits = bitsPerPrimary;
    setCube(bitsPerIndex, subtractive);
    return true;
}

void RasterColours::setComponent(int component, double value)
{
    if (component >= 0 && component < 3 && std::isfinite(value))
        m_components[component] = value;
}

void RasterColours::assign(double index)
{
    if (index >= 0 && index < double(m_palette.size())) {
        const double full = double((1 << m_componentBits) - 1);
        auto level = [&](double component) {
            const double light = std::clamp(component / full, 0.0, 1.0);
            return static_cast<std::uint8_t>(std::lround(255 * (m_subtractive ? 1 - light : light)));
        };
        m_palette[std::size_t(index)]
            = { level(m_components[0]), level(m_components[1]), level(m_components[2]) };
    }
    std::fill(std::begin(m_components), std::end(m_components), 0.0);
}

RasterFormat RasterColours::format() const
{
    if (m_encoding == Encoding::DirectByPixel)
        return RasterFormat::Rgb;
    return m_bitsPerIndex == 1 ? RasterFormat::Bitmap : RasterFormat::Indexed;
}

std::size_t RasterColours::planeBytes(std::size_t pixels) const
{
    const std::size_t bitsPerPixel = m_encoding == Encoding::IndexedByPlane ? 1 : std::size_t(m_bitsPerIndex);
    return (pixels * bitsPerPixel + 7) / 8;
}

std::size_t RasterColours::pixelsIn(std::size_t bytes) const
{
    const std::size_t bitsPerPixel = m_encoding == Encoding::IndexedByPlane ? 1 : std::size_t(m_bitsPerIndex);
    return bytes * 8 / bitsPerPixel;
}

void RasterColours::composeRow(
    const std::vector<std::vector<std::uint8_t>> &planes, std::uint32_t width, std::uint8_t *out) const
{
    const std::vector<std::uint8_t> &first = planes.front();
    const std::size_t rowBytes = planeBytes(width);
    if (format() == RasterFormat::Bitmap || m_encoding == Encoding::DirectByPixel) {
        const std::size_t copied = std::min(first.size(), rowBytes);
        std::copy_n(first.begin(), copied, out);
        std::fill(out + copied, out + rowBytes, std::uint8_t(0));
        if (format() == RasterFormat::Bitmap && width % 8 != 0 && rowBytes > 0)
            out[rowBytes - 1] &= static_cast<std::uint8_t>(0xff << (8 - width % 8));
        if (m_subtractive && m_encoding == Encoding::DirectByPixel)
            std::transform(out, out + rowBytes, out, [](std::uint8_t c) { return std::uint8_t(255 - c); });
        return;
    }
    if (m_encoding == Encoding::IndexedByPixel) {
        const int bits = m_bitsPerIndex;
        const int mask = (1 << bits) - 1;
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::size_t bit = std::size_t(x) * bits;
            const std::size_t byte = bit / 8;
            out[x] = byte < first.size() ? std::uint8_t((first[byte] >> (8 - bits - bit % 8)) & mask) : 0;
        }
        return;
    }
    for (std::uint32_t x = 0; x < width; ++x) {
        std::uint8_t index = 0;
        for (int plane = 0; plane < m_planes && plane < int(planes.size()); ++plane)
            index |= std::uint8_t(bitAt(planes[std::size_t(plane)], x) << plane);
        out[x] = index;
    }
}

} // namespace plotviewer::hpgl
