#include "PlotContentSurvey.h"

#include "PlotReader.h"

#include <algorithm>
#include <cctype>

namespace plotviewer::hpgl {

namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size()
        && std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::toupper(static_cast<unsigned char>(a))
                   == std::toupper(static_cast<unsigned char>(b));
           });
}

// IN ends with a terminator or a line break as files start; "IN the" is a text.
bool startsWithInitialise(std::string_view text)
{
    return startsWithNoCase(text, "IN") && text.size() > 2
        && (text[2] == ';' || text[2] == '\r' || text[2] == '\n');
}

} // namespace

PlotContentSurvey::PlotContentSurvey(std::string_view bytes)
{
    PlotReader reader(bytes, PlotReader::Weighing::On);
    PlotCommand command;
    while (reader.tally().total() < window && reader.next(command)) { }
    m_tally = reader.tally();
}

bool PlotContentSurvey::startsLikePlot(std::string_view bytes)
{
    constexpr char escape = 27;
    const auto first = std::find_if(bytes.begin(), bytes.end(),
        [](char c) { return static_cast<unsigned char>(c) > ' ' || c == escape; });
    const std::string_view start = bytes.substr(std::size_t(first - bytes.begin()));
    if (startsWithInitialise(start) || startsWithNoCase(start, "@PJL"))
        return true;
    if (startsWithNoCase(start, "BP")) {
        const std::size_t next = start.find_first_not_of("; \t\r\n", 2);
        return next != std::string_view::npos && startsWithNoCase(start.substr(next), "IN");
    }
    // ESC E resets PCL, ESC % switches language or starts a PJL job, ESC . controls a plotter.
    return start.size() > 1 && start[0] == escape && (start[1] == 'E' || start[1] == '%' || start[1] == '.');
}

double PlotContentSurvey::plotShare() const
{
    const std::size_t total = m_tally.total();
    return total == 0 ? 1.0 : double(m_tally.plotContent()) / double(total);
}

} // namespace plotviewer::hpgl
