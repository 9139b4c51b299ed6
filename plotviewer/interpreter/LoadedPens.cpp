#include "LoadedPens.h"

#include <charconv>
#include <cmath>

namespace plotviewer::hpgl {

namespace {

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A number that fills `text` exactly; from_chars knows no locale, so the decimal mark is always '.'.
template<typename Number> std::optional<Number> wholeNumber(std::string_view text)
{
    Number value {};
    const char *end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

std::optional<Rgb> colourOf(std::string_view text)
{
    if (text.size() != 7 || text.front() != '#')
        return std::nullopt;
    unsigned value = 0;
    const char *end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data() + 1, end, value, 16);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return Rgb { std::uint8_t(value >> 16), std::uint8_t(value >> 8), std::uint8_t(value) };
}

} // namespace

std::string LoadedPens::readLine(std::string_view line)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return "expected N=width-in-mm #rrggbb";
    const std::optional<int> number = wholeNumber<int>(trimmed(line.substr(0, equals)));
    if (!number || *number < 0 || *number >= penNumbers)
        return "the pen number must be a whole number from 0 to " + std::to_string(penNumbers - 1);
    if (m_pens.count(*number))
        return "pen " + std::to_string(*number) + " is already in the table";

    Pen pen;
    std::string_view rest = trimmed(line.substr(equals + 1));
    if (rest.empty())
        return "expected a width in mm, a colour #rrggbb or both after '='";
    while (!rest.empty()) {
        const std::size_t split = rest.find_first_of(" \t");
        const std::string_view word = rest.substr(0, split);
        rest = split == std::string_view::npos ? std::string_view() : trimmed(rest.substr(split));
        if (word.front() == '#') {
            pen.colour = colourOf(word);
            if (!pen.colour)
                return "the colour \"" + std::string(word) + "\" is not of the form #rrggbb";
            if (!rest.empty())
                return "nothing may follow the colour";
            continue;
        }
        if (pen.width)
            return "expected one width and one colour at most";
        const std::optional<double> width = wholeNumber<double>(word);
        if (!width || !std::isfinite(*width) || *width < 0 || *width > widestPen)
            return "the width \"" + std::string(word) + "\" is not a number of millimetres from 0 to "
                + std::to_string(int(widestPen)) + " (with a point, not a comma)";
        pen.width = width;
    }
    m_pens.emplace(*number, pen);
    return {};
}

} // namespace plotviewer::hpgl
