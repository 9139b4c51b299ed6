#pragma once
// Pens: the palette (NP, PC, CR) and the pen widths (PW, WU).

#include "plotviewer/model/DisplayList.h"

#include <array>
#include <vector>

namespace plotviewer::hpgl {

class PenTable
{
public:
    static constexpr int defaultPaletteSize = 8;
    static constexpr int maxPaletteSize = 1024;
    static constexpr double defaultMetricWidth = 0.35; // mm
    static constexpr double defaultRelativeWidth = 0.1; // % of the P1-P2 diagonal

    PenTable();

    /// IN: default palette size, colours, colour range and widths.
    void reset();

    int paletteSize() const { return m_paletteSize; }
    /// NP: rounded up to a power of two; false when out of range.
    bool setPaletteSize(double size);
    /// A pen number above the palette wraps around, skipping pen 0; -1 for an invalid number.
    int resolve(double pen) const;

    bool setColour(int pen, double red, double green, double blue);
    void resetColour(int pen);
    void resetColours();
    bool setColourRange(const std::vector<double> &range);
    void resetColourRange();
    Rgb colour(int pen) const;
    bool isRedefined(int pen) const;

    /// PC: none resets every colour, fewer than four arguments reset one pen's.
    void penColour(const std::vector<double> &n);
    /// CR: none restores the default range.
    void colourRange(const std::vector<double> &n);
    /// PW: none restores the default width of every pen, one sets every pen's, two one pen's.
    void penWidth(const std::vector<double> &n);

    void setRelativeWidths(bool relative);
    bool relativeWidths() const { return m_relativeWidths; }
    bool setWidth(double width, int pen);
    void setAllWidths(double width);
    /// The pen's width in plotter units for a P1-P2 diagonal.
    double width(int pen, double diagonal) const;

private:
    struct Entry
    {
        std::array<double, 3> value {};
        bool redefined = false;
        double width = defaultMetricWidth;
    };

    static std::array<double, 3> defaultColour(int pen);

    std::vector<Entry> m_pens;
    int m_paletteSize = defaultPaletteSize;
    std::array<double, 6> m_range {};
    bool m_relativeWidths = false;
};

} // namespace plotviewer::hpgl
