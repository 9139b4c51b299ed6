#pragma once
// Pens: the palette (NP, PC, CR), the pen widths (PW, WU), the HP-GL/1 pen thickness (PT) and
// the pens loaded in the device, which stand in for whatever the plot leaves unsaid.

#include "LoadedPens.h"
#include "plotviewer/model/DisplayList.h"

#include <array>
#include <cstdint>
#include <vector>

namespace plotviewer::hpgl {

class PenPalette
{
public:
    static constexpr int defaultPaletteSize = 8;
    static constexpr int maxPaletteSize = LoadedPens::penNumbers;
    static constexpr double defaultMetricWidth = 0.35; // mm
    static constexpr double defaultRelativeWidth = 0.1; // % of the P1-P2 diagonal

    PenPalette();

    /// The device's pens: the defaults of every later reset. Resets the table.
    void load(const LoadedPens &pens);
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
    /// PT: the thickness of the pens the plot gives no width; none (or a value out of range) forgets it.
    void penThickness(const std::vector<double> &n);
    /// DF forgets PT as IN does.
    void resetThickness() { m_thickness = 0; }
    /// The pen's width in plotter units for a P1-P2 diagonal.
    double width(int pen, double diagonal) const;

private:
    struct Entry
    {
        std::array<double, 3> value {};
        double width = defaultMetricWidth; // as PW gave this pen alone
        std::uint64_t widthSet = 0; // when, on m_widthClock; 0: not since IN
        double loadedWidth = defaultMetricWidth; // mm: the device's pen
    };
    // The width PW or WU last gave every pen at once. Kept once rather than in every entry: some
    // plots set every pen's width before each line.
    struct AllWidths
    {
        double width = 0;
        bool loaded = false; // each pen's loadedWidth instead of `width`
        std::uint64_t set = 0; // when, on m_widthClock; 0: not since IN
    };

    std::array<double, 3> defaultColour(int pen) const;
    Entry defaultEntry(int pen) const;
    /// The entry of `pen`, clamped to the palette's range.
    const Entry &entry(int pen) const;
    /// Gives `pen` an entry of its own, which may then differ from its defaults.
    void touch(int pen);
    void setDefaultWidths(bool relative);

    LoadedPens m_loaded;
    std::vector<Entry> m_pens; // the pens from m_pens.size() on have the built-in defaults
    int m_paletteSize = defaultPaletteSize;
    std::array<double, 6> m_range {};
    bool m_relativeWidths = false;
    double m_thickness = 0; // mm, from PT; 0 = not given
    AllWidths m_allWidths;
    std::uint64_t m_widthClock = 0; // counts the widths set, so that the latest wins
    // The colour worked out last, and what from.
    struct ColourMemo
    {
        bool known = false;
        std::array<double, 3> value {};
        std::array<double, 6> range {};
        Rgb rgb;
    };
    mutable ColourMemo m_lastColour;
};

} // namespace plotviewer::hpgl
