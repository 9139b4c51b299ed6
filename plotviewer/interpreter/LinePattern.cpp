#include "LinePattern.h"

#include "InstructionArguments.h"
#include "plotviewer/model/PlotUnits.h"

#include <numeric>

namespace plotviewer::hpgl {

namespace {

const std::array<std::vector<double>, 8> defaultDefinitions = { {
    { 0, 100 },
    { 50, 50 },
    { 70, 30 },
    { 80, 10, 0, 10 },
    { 70, 10, 10, 10 },
    { 50, 10, 10, 10, 10, 10 },
    { 70, 10, 0, 10, 0, 10 },
    { 50, 10, 0, 10, 10, 10, 0, 10 },
} };

std::vector<double> normalised(const std::vector<double> &entries)
{
    const double total = std::accumulate(entries.begin(), entries.end(), 0.0);
    std::vector<double> result(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        result[i] = entries[i] / total;
    if (result.size() % 2 != 0)
        result.push_back(0); // every repeat ends with a gap
    return result;
}

} // namespace

void LinePattern::resetToDefaults()
{
    m_type = 0;
    m_previousType = 0;
    m_solid = true;
    m_previousSolid = true;
    m_length = 4;
    m_lengthMode = LengthMode::PercentOfDiagonal;
    m_phase = 0;
    resetDefinitions();
}

void LinePattern::resetDefinitions()
{
    for (std::vector<double> &definition : m_userDefinitions)
        definition.clear();
}

const std::vector<double> &LinePattern::definition(std::size_t slot) const
{
    if (!m_userDefinitions[slot].empty())
        return m_userDefinitions[slot];
    static const std::array<std::vector<double>, 8> defaults = [] {
        std::array<std::vector<double>, 8> result;
        for (std::size_t i = 0; i < result.size(); ++i)
            result[i] = normalised(defaultDefinitions[i]);
        return result;
    }();
    return defaults[slot];
}

void LinePattern::setSolid()
{
    if (!m_solid) {
        m_previousType = m_type;
        m_previousSolid = false;
    }
    m_solid = true;
}

bool LinePattern::setType(int type, const double *length, const double *mode)
{
    if (type < -8 || type > 8)
        return false;
    if (length && !(*length > 0))
        return false;
    if (mode && *mode != 0 && *mode != 1)
        return false;
    if (!m_solid) {
        m_previousType = m_type;
        m_previousSolid = false;
    }
    m_type = type;
    m_solid = false;
    if (length)
        m_length = *length;
    if (mode)
        m_lengthMode = *mode == 1 ? LengthMode::Millimetres : LengthMode::PercentOfDiagonal;
    return true;
}

void LinePattern::restorePrevious()
{
    if (m_solid && !m_previousSolid) {
        m_type = m_previousType;
        m_solid = false;
    }
}

bool LinePattern::define(int index, const std::vector<double> &gaps)
{
    const int slot = std::abs(index);
    if (slot < 1 || slot > 8 || gaps.size() > 20)
        return false;
    if (gaps.empty()) {
        m_userDefinitions[static_cast<std::size_t>(slot - 1)].clear();
        return true;
    }
    double total = 0;
    for (double gap : gaps) {
        if (!(gap >= 0) || !std::isfinite(gap))
            return false;
        total += gap;
    }
    if (!(total > 0) || !std::isfinite(total))
        return false;
    m_userDefinitions[static_cast<std::size_t>(slot - 1)] = normalised(gaps);
    return true;
}

double LinePattern::patternLength(double diagonal) const
{
    if (m_lengthMode == LengthMode::Millimetres)
        return m_length * plotUnitsPerMillimetre;
    return m_length / 100 * diagonal;
}

double LinePattern::polylineLength(std::span<const Point> polyline)
{
    double length = 0;
    for (std::size_t i = 1; i < polyline.size(); ++i)
        length += std::hypot(polyline[i].x - polyline[i - 1].x, polyline[i].y - polyline[i - 1].y);
    return length;
}

void LinePattern::lineType(const std::vector<double> &n)
{
    if (n.empty()) {
        setSolid();
    } else if (std::round(argument(n, 0, 0)) == 99) {
        restorePrevious();
    } else if (std::isfinite(n[0])) {
        const double length = argument(n, 1, 0);
        const double mode = argument(n, 2, 0);
        setType(static_cast<int>(std::round(std::clamp(n[0], -32768.0, 32767.0))),
            n.size() > 1 ? &length : nullptr, n.size() > 2 ? &mode : nullptr);
    }
}

void LinePattern::userLineType(const std::vector<double> &n)
{
    if (n.empty())
        resetDefinitions();
    else if (std::isfinite(n[0]))
        define(static_cast<int>(std::round(std::clamp(n[0], -100.0, 100.0))),
            std::vector<double>(n.begin() + 1, n.end()));
}

} // namespace plotviewer::hpgl
