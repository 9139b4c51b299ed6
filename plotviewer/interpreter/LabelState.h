#pragma once
// What shapes a label (SD, AD, SS, SA, SI, SR, DI, DR, DV, LO, ES, SL, TD, SM), with its defaults;
// DF and IN restore them by assigning a default-constructed object.

#include "LabelLayout.h"

#include <string>
#include <string_view>
#include <vector>

namespace plotviewer::hpgl {

class LabelState
{
public:
    /// SD or AD: kind/value pairs; none restores that font's defaults.
    void setFontDefinition(bool alternate, const std::vector<double> &n);
    /// SS or SA
    void setAlternateSelected(bool alternate) { m_alternateSelected = alternate; }
    bool alternateSelected() const { return m_alternateSelected; }
    /// SI (absolute, cm) or SR (relative, percent of P2-P1); SI alone returns to the font's size.
    void setSize(bool relative, const std::vector<double> &n);
    /// DI or DR
    void setDirection(bool relative, const std::vector<double> &n);
    /// DV
    void setPath(const std::vector<double> &n);
    /// LO; out-of-range origins are ignored.
    void setOrigin(const std::vector<double> &n);
    /// ES
    void setExtraSpace(const std::vector<double> &n);
    /// SL
    void setSlant(const std::vector<double> &n);
    /// TD
    void setTransparentData(const std::vector<double> &n);
    /// SM: the first character of `text` marks every point; none turns it off.
    void setSymbol(std::string_view text);
    const std::u32string &symbol() const { return m_symbol; }

    int origin() const { return m_origin; }
    LabelPath path() const { return m_path; }
    bool transparentData() const { return m_transparentData; }

    /// The standard or alternate font resolved for scaling points `p1`, `p2`, in plot units of the
    /// rotated system.
    LabelFont font(bool alternate, Point p1, Point p2) const;
    LabelFont currentFont(Point p1, Point p2) const { return font(m_alternateSelected, p1, p2); }
    /// The SM symbol in the current font, centred on `at` in the rotated system.
    TextRun symbolRun(Point at, Point p1, Point p2) const;

private:
    struct FontDefinition
    {
        double symbolSet = 277;
        double pitch = 9; // characters per inch
        double height = 11.5; // points
        bool proportional = false;
    };
    enum class SizeMode : unsigned char { Font, Absolute, Relative };

    FontDefinition m_standardFont;
    FontDefinition m_alternateFont;
    bool m_alternateSelected = false;
    SizeMode m_sizeMode = SizeMode::Font;
    Point m_size; // SI in cm or SR in percent
    bool m_relativeDirection = false;
    Point m_direction { 1, 0 };
    LabelPath m_path = LabelPath::Right;
    bool m_reverseLineFeed = false;
    double m_slant = 0;
    Point m_extraSpace;
    int m_origin = 1;
    bool m_transparentData = false;
    std::u32string m_symbol;
};

} // namespace plotviewer::hpgl
