#include "PenPalette.h"

#include "InstructionArguments.h"
#include "plotviewer/model/PlotUnits.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace plotviewer::hpgl {

namespace {

constexpr std::array<std::array<double, 3>, 8> builtinPalette = { {
    { 255, 255, 255 },
    { 0, 0, 0 },
    { 255, 0, 0 },
    { 0, 255, 0 },
    { 255, 255, 0 },
    { 0, 0, 255 },
    { 255, 0, 255 },
    { 0, 255, 255 },
} };

// std::lround for a level from 0 to 255, without the library call: the fraction of so small a
// number is exact, and half rounds up as lround has it.
std::uint8_t roundedLevel(double level)
{
    if (!(level >= 0))
        return 0; // not a number: a colour range too wide for doubles
    const int whole = static_cast<int>(level);
    return static_cast<std::uint8_t>(level - whole >= 0.5 ? whole + 1 : whole);
}

std::array<double, 3> builtinColour(int pen)
{
    return pen >= 0 && pen < int(builtinPalette.size()) ? builtinPalette[static_cast<std::size_t>(pen)]
                                                        : std::array<double, 3> { 0, 0, 0 };
}

} // namespace

PenPalette::PenPalette()
{
    reset();
}

std::array<double, 3> PenPalette::defaultColour(int pen) const
{
    if (const auto loaded = m_loaded.pens().find(pen);
        loaded != m_loaded.pens().end() && loaded->second.colour) {
        const Rgb colour = *loaded->second.colour;
        return { double(colour.r), double(colour.g), double(colour.b) };
    }
    return builtinColour(pen);
}

PenPalette::Entry PenPalette::defaultEntry(int pen) const
{
    Entry entry;
    entry.value = defaultColour(pen);
    if (const auto loaded = m_loaded.pens().find(pen);
        loaded != m_loaded.pens().end() && loaded->second.width)
        entry.loadedWidth = *loaded->second.width;
    return entry;
}

const PenPalette::Entry &PenPalette::entry(int pen) const
{
    const std::size_t index = static_cast<std::size_t>(std::clamp(pen, 0, maxPaletteSize - 1));
    if (index < m_pens.size())
        return m_pens[index];
    // Neither the plot nor the device's table changed this pen.
    static const std::array<Entry, builtinPalette.size() + 1> builtin = [] {
        std::array<Entry, builtinPalette.size() + 1> entries;
        for (std::size_t i = 0; i < entries.size(); ++i)
            entries[i].value = builtinColour(static_cast<int>(i));
        return entries;
    }();
    return builtin[std::min(index, builtin.size() - 1)];
}

void PenPalette::touch(int pen)
{
    for (int next = static_cast<int>(m_pens.size()); next <= pen; ++next)
        m_pens.push_back(defaultEntry(next));
}

void PenPalette::load(const LoadedPens &pens)
{
    m_loaded = pens;
    reset();
}

void PenPalette::reset()
{
    m_paletteSize = defaultPaletteSize;
    m_relativeWidths = false;
    m_thickness = 0;
    m_allWidths = {};
    // Every plot resets the table, most of them more than once: keep entries only for the pens
    // the device's table names, the others have the built-in defaults until the plot sets them.
    m_pens.clear();
    if (!m_loaded.empty())
        touch(m_loaded.pens().rbegin()->first);
    resetColourRange();
}

bool PenPalette::setPaletteSize(double size)
{
    if (!(size >= 2))
        return false;
    int rounded = 2;
    while (rounded < size && rounded < maxPaletteSize)
        rounded *= 2;
    m_paletteSize = rounded;
    return true;
}

int PenPalette::resolve(double pen) const
{
    if (!(pen >= 0) || !std::isfinite(pen))
        return -1;
    const double number = std::round(pen);
    if (number < m_paletteSize)
        return static_cast<int>(number);
    return static_cast<int>(std::fmod(number - 1, m_paletteSize - 1)) + 1;
}

bool PenPalette::setColour(int pen, double red, double green, double blue)
{
    if (pen < 0 || pen >= m_paletteSize)
        return false;
    touch(pen);
    m_pens[static_cast<std::size_t>(pen)].value = { red, green, blue };
    return true;
}

void PenPalette::resetColour(int pen)
{
    if (pen < 0 || pen >= m_paletteSize || static_cast<std::size_t>(pen) >= m_pens.size())
        return; // a pen without an entry has its default colour
    m_pens[static_cast<std::size_t>(pen)].value = defaultColour(pen);
}

void PenPalette::resetColours()
{
    for (std::size_t pen = 0; pen < m_pens.size(); ++pen)
        m_pens[pen].value = defaultColour(static_cast<int>(pen));
}

bool PenPalette::setColourRange(const std::vector<double> &range)
{
    if (range.size() != 6)
        return false;
    for (std::size_t i = 0; i < 6; i += 2) {
        if (range[i] == range[i + 1] || !std::isfinite(range[i]) || !std::isfinite(range[i + 1]))
            return false;
    }
    std::copy(range.begin(), range.end(), m_range.begin());
    return true;
}

void PenPalette::resetColourRange()
{
    m_range = { 0, 255, 0, 255, 0, 255 };
}

Rgb PenPalette::colour(int pen) const
{
    const Entry &given = entry(pen);
    // Every stroke asks for its pen's colour: the last answer stands while its inputs are the same
    // to the bit (a range whose ends differ only in the sign of zero gives another colour).
    if (m_lastColour.known && std::memcmp(&m_lastColour.value, &given.value, sizeof given.value) == 0
        && std::memcmp(&m_lastColour.range, &m_range, sizeof m_range) == 0)
        return m_lastColour.rgb;
    m_lastColour.known = true;
    m_lastColour.value = given.value;
    m_lastColour.range = m_range;
    std::uint8_t component[3];
    for (std::size_t i = 0; i < 3; ++i) {
        const double black = m_range[2 * i];
        const double white = m_range[2 * i + 1];
        const double level = std::clamp((given.value[i] - black) / (white - black), 0.0, 1.0);
        component[i] = roundedLevel(level * 255);
    }
    m_lastColour.rgb = { component[0], component[1], component[2] };
    return m_lastColour.rgb;
}

void PenPalette::setRelativeWidths(bool relative)
{
    m_relativeWidths = relative;
    setDefaultWidths(relative);
}

void PenPalette::setDefaultWidths(bool relative)
{
    // The metric default is the device's own pen, as a plotter's front panel has it.
    m_allWidths = { relative ? defaultRelativeWidth : 0, !relative, ++m_widthClock };
}

bool PenPalette::setWidth(double width, int pen)
{
    if (pen < 0 || pen >= m_paletteSize || !(width >= 0) || !std::isfinite(width))
        return false;
    touch(pen);
    m_pens[static_cast<std::size_t>(pen)].width = width;
    m_pens[static_cast<std::size_t>(pen)].widthSet = ++m_widthClock;
    return true;
}

void PenPalette::setAllWidths(double width)
{
    if (!(width >= 0) || !std::isfinite(width))
        return;
    m_allWidths = { width, false, ++m_widthClock };
}

void PenPalette::penThickness(const std::vector<double> &n)
{
    static constexpr double thickestPen = 5; // mm
    const double thickness = argument(n, 0, 0);
    if (n.empty())
        m_thickness = 0;
    else if (thickness > 0 && thickness <= thickestPen)
        m_thickness = thickness;
}

double PenPalette::width(int pen, double diagonal) const
{
    // A pen the plot gave a width (PW, or WU's defaults) draws at that width. Any other pen is the
    // HP-GL/1 kind, a physical pen: PT says how thick the pens are, else the device's own pen (the
    // user's table, or 0.35 mm) does. PT is also how far apart a plotter lays the strokes of a solid
    // fill; solid fills here are areas, so only the width of drawn lines and edges follows it.
    const Entry &entry = this->entry(pen);
    const auto given = [&](double width) {
        return m_relativeWidths ? width / 100 * diagonal : width * plotUnitsPerMillimetre;
    };
    if (entry.widthSet > m_allWidths.set)
        return given(entry.width);
    if (m_allWidths.set > 0)
        return given(m_allWidths.loaded ? entry.loadedWidth : m_allWidths.width);
    return (m_thickness > 0 ? m_thickness : entry.loadedWidth) * plotUnitsPerMillimetre;
}

void PenPalette::penColour(const std::vector<double> &n)
{
    if (n.empty())
        resetColours();
    else if (n.size() < 4)
        resetColour(static_cast<int>(std::round(std::clamp(argument(n, 0, -1), -1.0, 1e6))));
    else if (allFinite(n) && n[0] >= 0 && n[0] < paletteSize())
        setColour(static_cast<int>(std::round(n[0])), n[1], n[2], n[3]);
}

void PenPalette::colourRange(const std::vector<double> &n)
{
    if (n.empty())
        resetColourRange();
    else
        setColourRange(n);
}

void PenPalette::penWidth(const std::vector<double> &n)
{
    if (n.empty())
        setDefaultWidths(relativeWidths());
    else if (n.size() == 1)
        setAllWidths(argument(n, 0, -1));
    else if (std::isfinite(n[1]) && n[1] >= 0 && n[1] < paletteSize())
        setWidth(argument(n, 0, -1), static_cast<int>(std::round(n[1])));
}

} // namespace plotviewer::hpgl
