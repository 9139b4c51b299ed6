#pragma once
// How the planes of a PCL raster row become pixels: the simple colour modes (ESC*r#U), the
// configured image data (ESC*v#W) and the palette entries programmed with ESC*v#A/B/C/I.

#include "plotviewer/model/DisplayList.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace plotviewer::hpgl {

class RasterColours
{
public:
    RasterColours() { reset(); }

    /// Monochrome: one plane, 0 white and 1 black.
    void reset();
    /// ESC*r#U: 1 monochrome, 3 RGB planes, -3 CMY planes, -4 KCMY planes. False for other values.
    bool setSimpleColour(double mode);
    /// ESC*v#W; false, changing nothing, for a configuration that cannot be drawn.
    bool configure(std::span<const std::uint8_t> data);
    /// ESC*v#A/B/C: one colour component for the next palette assignment.
    void setComponent(int component, double value);
    /// ESC*v#I: the components given so far become palette entry `index`.
    void assign(double index);

    int planeCount() const { return m_planes; }
    RasterFormat format() const;
    const std::vector<Rgb> &palette() const { return m_palette; }
    /// The bytes of each plane that hold `pixels` pixels, and the pixels that `bytes` bytes hold.
    std::size_t planeBytes(std::size_t pixels) const;
    std::size_t pixelsIn(std::size_t bytes) const;
    /// Writes the pixels of one row, `width` wide, from its planes (bytes past a plane's end are 0).
    void composeRow(
        const std::vector<std::vector<std::uint8_t>> &planes, std::uint32_t width, std::uint8_t *out) const;

private:
    enum class Encoding : std::uint8_t { IndexedByPlane, IndexedByPixel, DirectByPixel };

    void setCube(int bits, bool subtractive);

    Encoding m_encoding = Encoding::IndexedByPlane;
    int m_planes = 1;
    int m_bitsPerIndex = 1;
    bool m_subtractive = false; // CMY: components say how much ink, not how much light
    int m_componentBits = 8;
    double m_components[3] = {};
    std::vector<Rgb> m_palette;
};

} // namespace plotviewer::hpgl
