#pragma once
// The pens loaded in the device, as the user's pen table describes them: a width and a colour per
// pen number. HP-GL/1 plots name a pen and nothing more; the carousel and the front panel say the
// rest, and this table stands in for them wherever the plot does not set a pen itself.

#include "plotviewer/model/DisplayList.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace plotviewer::hpgl {

class LoadedPens
{
public:
    static constexpr double widestPen = 100; // mm; far wider than any pen, narrower than a typo
    /// Pen numbers run from 0 to one less than this, the largest palette HP-GL/2 has.
    static constexpr int penNumbers = 1024;

    struct Pen
    {
        std::optional<double> width; // mm
        std::optional<Rgb> colour;
    };

    /// Reads one line of the table, `N=width-in-mm #rrggbb`, where either half may be left out.
    /// Empty when the line was taken, otherwise why it was not; the table is then as before.
    std::string readLine(std::string_view line);

    bool empty() const { return m_pens.empty(); }
    const std::map<int, Pen> &pens() const { return m_pens; }

private:
    std::map<int, Pen> m_pens;
};

} // namespace plotviewer::hpgl
