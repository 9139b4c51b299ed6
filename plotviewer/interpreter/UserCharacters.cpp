#include "UserCharacters.h"

#include "CharacterSet.h"
#include "plotviewer/model/Geometry.h"

#include <algorithm>
#include <cmath>

namespace plotviewer::hpgl {

namespace {

// DL: a number of its own before a pair lifts the pen for the move to that pair. Coordinates lie
// within ±127 grid units; the glyph body (the nominal character width by the cap height) is
// downloadedGrid units each way.
constexpr double downloadedPenUp = -128;
constexpr double downloadedLimit = 127;
constexpr double downloadedGrid = 32;
// UC: numbers of 99 and above lower the pen, -99 and below lift it; the moves between are
// increments in a grid of four units across the glyph body and eight up its cap height.
constexpr double oneOffPenDown = 99;
constexpr double oneOffLimit = 128;
constexpr double oneOffGridAcross = 4;
constexpr double oneOffGridUp = 8;
// Bounds on what a file may make us keep: points per character and over all characters.
constexpr std::size_t maxPointsPerCharacter = 1024;
constexpr std::size_t maxDownloadedPoints = 65536;

Point inBody(Point grid, Point origin, Point across, Point up, double gridAcross, double gridUp)
{
    return add(origin, add(scaled(across, grid.x / gridAcross), scaled(up, grid.y / gridUp)));
}

bool integral(double v)
{
    return std::isfinite(v) && v == std::round(v);
}

// DL's strokes after the character number, or a reason to ignore them.
std::string downloadedStrokes(const std::vector<double> &n, UserCharacters::Strokes &strokes)
{
    bool penUp = true;
    std::size_t points = 0;
    for (std::size_t i = 1; i < n.size(); ++i) {
        if (n[i] == downloadedPenUp) {
            penUp = true;
            continue;
        }
        if (i + 1 >= n.size() || n[i + 1] == downloadedPenUp)
            return "an odd count of coordinates";
        const Point p { n[i], n[i + 1] };
        ++i;
        if (!integral(p.x) || !integral(p.y) || std::abs(p.x) > downloadedLimit
            || std::abs(p.y) > downloadedLimit)
            return "coordinates outside the character grid";
        if (++points > maxPointsPerCharacter)
            return "more than " + std::to_string(maxPointsPerCharacter) + " points";
        if (penUp)
            strokes.emplace_back();
        strokes.back().push_back(p);
        penUp = false;
    }
    return {};
}

} // namespace

std::string UserCharacters::define(const std::vector<double> &n)
{
    if (n.empty()) {
        m_glyphs.clear();
        m_pointCount = 0;
        return {};
    }
    if (!integral(n[0]) || n[0] < 0 || n[0] >= CharacterSet::downloadedCharacterCount)
        return "a downloadable character (DL) numbered outside 0 to 255 was ignored";
    const auto pointCount = [](const Strokes &strokes) {
        std::size_t points = 0;
        for (const std::vector<Point> &stroke : strokes)
            points += stroke.size();
        return points;
    };
    m_glyphs.resize(CharacterSet::downloadedCharacterCount);
    Strokes &glyph = m_glyphs[std::size_t(n[0])];
    Strokes strokes;
    std::string reason = downloadedStrokes(n, strokes);
    const std::size_t others = m_pointCount - pointCount(glyph);
    if (reason.empty() && others + pointCount(strokes) > maxDownloadedPoints)
        reason = "more points than all downloadable characters may hold";
    if (!reason.empty())
        return "a downloadable character (DL) with " + reason + " was ignored";
    glyph = std::move(strokes);
    m_pointCount = others + pointCount(glyph);
    return {};
}

void UserCharacters::draw(const TextRun &run, const TextSink &text, const StrokeSink &stroke) const
{
    const auto downloaded = [](char32_t c) {
        return c >= CharacterSet::firstDownloadedCharacter
            && c < CharacterSet::firstDownloadedCharacter + CharacterSet::downloadedCharacterCount;
    };
    if (std::none_of(run.text.begin(), run.text.end(), downloaded)) {
        text(run);
        return;
    }
    TextRun part = run;
    part.text.clear();
    const auto flush = [&] {
        if (!part.text.empty())
            text(part);
        part.text.clear();
    };
    for (std::size_t i = 0; i < run.text.size(); ++i) {
        const Point origin = add(run.origin, scaled(run.advance, double(i)));
        char32_t c = run.text[i];
        if (downloaded(c)) {
            const auto number = static_cast<unsigned char>(c - CharacterSet::firstDownloadedCharacter);
            if (number < m_glyphs.size() && !m_glyphs[number].empty()) {
                flush();
                for (const std::vector<Point> &gridStroke : m_glyphs[number]) {
                    std::vector<Point> points;
                    points.reserve(gridStroke.size());
                    for (const Point &p : gridStroke)
                        points.push_back(
                            inBody(p, origin, run.across, run.up, downloadedGrid, downloadedGrid));
                    stroke(points);
                }
                continue;
            }
            const char32_t standard = CharacterSet().decode(number);
            c = standard ? standard : U' ';
        }
        if (part.text.empty())
            part.origin = origin;
        part.text.push_back(c);
    }
    flush();
}

std::string UserCharacters::oneOff(
    const std::vector<double> &n, Point origin, Point across, Point up, Strokes &strokes)
{
    strokes.clear();
    if (n.size() > 2 * maxPointsPerCharacter)
        return "a user-defined character (UC) with more than " + std::to_string(maxPointsPerCharacter)
            + " moves was ignored";
    bool penDown = false;
    Point grid;
    for (std::size_t i = 0; i < n.size(); ++i) {
        if (!std::isfinite(n[i]) || std::abs(n[i]) > oneOffLimit) {
            strokes.clear();
            return "a user-defined character (UC) with numbers outside ±128 was ignored";
        }
        if (std::abs(n[i]) >= oneOffPenDown) {
            penDown = n[i] > 0;
            if (penDown)
                strokes.push_back({ inBody(grid, origin, across, up, oneOffGridAcross, oneOffGridUp) });
            continue;
        }
        if (i + 1 >= n.size() || std::abs(n[i + 1]) >= oneOffPenDown) {
            strokes.clear();
            return "a user-defined character (UC) with an odd count of increments was ignored";
        }
        grid = add(grid, { n[i], n[i + 1] });
        ++i;
        if (penDown)
            strokes.back().push_back(inBody(grid, origin, across, up, oneOffGridAcross, oneOffGridUp));
    }
    return {};
}

} // namespace plotviewer::hpgl
