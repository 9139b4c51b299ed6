#pragma once
// Line types (LT, UL): cuts pen-down polylines into solid dashes and dots. Fixed patterns run on
// along connected vectors and keep their residue between instructions; adaptive patterns fit a
// whole number of repeats into every vector.

#include "plotviewer/model/DisplayList.h"

#include <array>
#include <cmath>
#include <span>
#include <vector>

namespace plotviewer::hpgl {

class LinePattern
{
public:
    enum class LengthMode : unsigned char { PercentOfDiagonal, Millimetres };
    /// More dashes than this in one polyline draws it solid instead.
    static constexpr double maxDashesPerPolyline = 100000;

    /// LT with no parameters: solid, remembering the type for LT99.
    void setSolid();
    /// LT type[,length[,mode]]; returns false (and changes nothing) for invalid values.
    bool setType(int type, const double *length, const double *mode);
    /// LT99: the previous type again while the line is solid.
    void restorePrevious();
    /// UL index, gaps...; an empty list restores that type's default. False when invalid.
    bool define(int index, const std::vector<double> &gaps);
    void resetDefinitions();
    /// LT: none is solid, 99 restores the previous type, otherwise type[,length[,mode]].
    void lineType(const std::vector<double> &n);
    /// UL: none restores every user pattern, otherwise index,gaps...
    void userLineType(const std::vector<double> &n);
    /// Drops the unused part of a fixed pattern that carries into the next vector.
    void resetResidue() { m_phase = 0; }
    /// Pattern length in plotter units for a P1-P2 diagonal.
    double patternLength(double diagonal) const;
    void resetToDefaults();

    /// Calls `sink(std::span<const Point>)` for each solid piece; one point is a dot.
    template<typename Sink> void cut(std::span<const Point> polyline, double length, Sink &&sink)
    {
        if (m_solid || polyline.size() < 2 || !(length >= 0.5) || !std::isfinite(length)
            || polylineLength(polyline) / length > maxDashesPerPolyline) {
            sink(polyline);
            return;
        }
        if (m_type == 0) {
            std::vector<Point> dot(1);
            for (const Point &p : polyline) {
                dot[0] = p;
                sink(dot);
            }
            return;
        }
        const std::vector<double> &fractions = definition(static_cast<std::size_t>(std::abs(m_type) - 1));
        if (m_type > 0) {
            std::vector<double> entries(fractions.size());
            for (std::size_t i = 0; i < entries.size(); ++i)
                entries[i] = fractions[i] * length;
            m_phase = walk(polyline, entries, m_phase, sink);
            return;
        }
        // Adaptive: each vector holds a whole number of repeats, starting and ending with half a dash.
        std::vector<Point> vector(2);
        for (std::size_t i = 1; i < polyline.size(); ++i) {
            vector[0] = polyline[i - 1];
            vector[1] = polyline[i];
            const double segment = std::hypot(vector[1].x - vector[0].x, vector[1].y - vector[0].y);
            if (segment == 0)
                continue;
            const double repeats = std::max(1.0, std::round(segment / length));
            const double repeatLength = segment / repeats;
            std::vector<double> entries(fractions.size());
            for (std::size_t k = 0; k < entries.size(); ++k)
                entries[k] = fractions[k] * repeatLength;
            // Starting half-way through the first dash centres the pattern on the vector.
            walk(vector, entries, fractions[0] / 2, sink);
        }
    }

private:
    static double polylineLength(std::span<const Point> polyline);
    /// The fractions of one repeat of pattern `slot` (0 to 7), down and up in turn.
    const std::vector<double> &definition(std::size_t slot) const;

    /// Walks `polyline` through the pattern `entries` (down, up, down ...) from `phase` (a fraction
    /// of one repeat); returns the phase where it stopped.
    template<typename Sink>
    static double walk(
        std::span<const Point> polyline, const std::vector<double> &entries, double phase, Sink &sink)
    {
        double total = 0;
        for (double entry : entries)
            total += entry;
        std::size_t k = 0;
        double into = phase * total;
        while (k + 1 < entries.size() && into >= entries[k]) {
            into -= entries[k];
            ++k;
        }
        std::vector<Point> dash;
        auto startEntry = [&](Point at) {
            if (k % 2 != 0)
                return;
            if (entries[k] > 0) {
                dash.assign(1, at);
                return;
            }
            dash.assign(1, at);
            sink(dash);
            dash.clear();
        };
        if (k % 2 == 0 && (entries[k] > 0 || into == 0))
            startEntry(polyline[0]);
        for (std::size_t i = 1; i < polyline.size(); ++i) {
            const Point a = polyline[i - 1];
            const Point b = polyline[i];
            const double length = std::hypot(b.x - a.x, b.y - a.y);
            double t = 0;
            while (length > 0) {
                const double remaining = entries[k] - into;
                if (t + remaining > length) {
                    into += length - t;
                    if (k % 2 == 0 && !dash.empty() && length > t)
                        dash.push_back(b);
                    break;
                }
                t += remaining;
                const Point at { a.x + (b.x - a.x) * t / length, a.y + (b.y - a.y) * t / length };
                if (k % 2 == 0 && !dash.empty()) {
                    dash.push_back(at);
                    sink(dash);
                    dash.clear();
                }
                k = (k + 1) % entries.size();
                into = 0;
                startEntry(at);
            }
        }
        if (dash.size() >= 2)
            sink(dash);
        double done = into;
        for (std::size_t i = 0; i < k; ++i)
            done += entries[i];
        return total > 0 ? std::fmod(done / total, 1.0) : 0;
    }

    std::array<std::vector<double>, 8> m_userDefinitions; // UL's patterns; empty: the default
    int m_type = 0;
    int m_previousType = 0;
    bool m_solid = true;
    bool m_previousSolid = true;
    double m_length = 4;
    LengthMode m_lengthMode = LengthMode::PercentOfDiagonal;
    double m_phase = 0;
};

} // namespace plotviewer::hpgl
